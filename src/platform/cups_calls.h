// The functions of CUPS (print queues and jobs) that the platform calls, loaded on
// first use (see lazy_library.h).
#pragma once

#include <cups/cups.h>

#include "platform/lazy_library.h"

#define QUILL_CUPS_FUNCTIONS(X)                                                                    \
  X(kCups, cupsAddOption)                                                                          \
  X(kCups, cupsCancelJob2)                                                                         \
  X(kCups, cupsCopyDestInfo)                                                                       \
  X(kCups, cupsCreateJob)                                                                          \
  X(kCups, cupsFindDestDefault)                                                                    \
  X(kCups, cupsFinishDocument)                                                                     \
  X(kCups, cupsFreeDestInfo)                                                                       \
  X(kCups, cupsFreeDests)                                                                          \
  X(kCups, cupsFreeOptions)                                                                        \
  X(kCups, cupsGetDestMediaDefault)                                                                \
  X(kCups, cupsGetDests2)                                                                          \
  X(kCups, cupsStartDocument)                                                                      \
  X(kCups, cupsWriteRequestData)                                                                   \
  X(kCups, ippGetResolution)                                                                       \
  X(kCups, ippGetValueTag)

namespace platform {
QUILL_CUPS_FUNCTIONS(QUILL_LAZY_DECLARE)
} // namespace platform
