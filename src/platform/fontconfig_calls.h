// The functions of fontconfig that face matching calls, loaded on first use
// (see lazy_library.h): the IPA families are found without it, so most
// programs never need it.
#pragma once

#include <fontconfig/fontconfig.h>

#include "platform/lazy_library.h"

#define QUILL_FONTCONFIG_FUNCTIONS(X)                                                              \
  X(kFontconfig, FcConfigSubstitute)                                                               \
  X(kFontconfig, FcDefaultSubstitute)                                                              \
  X(kFontconfig, FcFini)                                                                           \
  X(kFontconfig, FcFontMatch)                                                                      \
  X(kFontconfig, FcInit)                                                                           \
  X(kFontconfig, FcLangSetAdd)                                                                     \
  X(kFontconfig, FcLangSetCreate)                                                                  \
  X(kFontconfig, FcLangSetDestroy)                                                                 \
  X(kFontconfig, FcLangSetHasLang)                                                                 \
  X(kFontconfig, FcPatternAddInteger)                                                              \
  X(kFontconfig, FcPatternAddLangSet)                                                              \
  X(kFontconfig, FcPatternAddString)                                                               \
  X(kFontconfig, FcPatternCreate)                                                                  \
  X(kFontconfig, FcPatternDestroy)                                                                 \
  X(kFontconfig, FcPatternGetInteger)                                                              \
  X(kFontconfig, FcPatternGetLangSet)                                                              \
  X(kFontconfig, FcPatternGetString)                                                               \
  X(kFontconfig, FcWeightFromOpenType)

namespace platform {
QUILL_FONTCONFIG_FUNCTIONS(QUILL_LAZY_DECLARE)
} // namespace platform
