// The functions of ICU (collation, code page conversion) that the platform
// calls, loaded on the first string comparison that needs them (see
// lazy_library.h). ICU's headers rename every function after its version
// (ucol_open is ucol_open_72), so the objects and the names looked up carry
// the version too.
#pragma once

#define U_SHOW_CPLUSPLUS_API 0
#include <unicode/ucnv.h>
#include <unicode/ucol.h>

#include "platform/lazy_library.h"

#define QUILL_ICU_FUNCTIONS(X)                                                                     \
  X(kIcuI18n, ucol_close)                                                                          \
  X(kIcuI18n, ucol_getRules)                                                                       \
  X(kIcuI18n, ucol_open)                                                                           \
  X(kIcuI18n, ucol_openRules)                                                                      \
  X(kIcuI18n, ucol_setAttribute)                                                                   \
  X(kIcuI18n, ucol_strcoll)                                                                        \
  X(kIcuUc, ucnv_close)                                                                            \
  X(kIcuUc, ucnv_open)                                                                             \
  X(kIcuUc, ucnv_reset)                                                                            \
  X(kIcuUc, ucnv_toUnicode)

namespace platform {
QUILL_ICU_FUNCTIONS(QUILL_LAZY_DECLARE)
} // namespace platform
