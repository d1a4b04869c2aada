#include "platform/lazy_library.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

#include "platform/alsa_calls.h"
#include "platform/cairo_calls.h"
#include "platform/cups_calls.h"
#include "platform/fluid_calls.h"
#include "platform/fontconfig_calls.h"
#include "platform/icu_calls.h"
#include "platform/sdl_calls.h"
#include "platform/sdl_mixer_calls.h"

namespace platform::lazy {

Library kSdl{"libSDL2-2.0.so.0", {}, {}};
Library kSdlMixer{"libSDL2_mixer-2.0.so.0", {}, {}};
Library kFluidSynth{"libfluidsynth.so.3", {}, {}};
Library kAlsa{"libasound.so.2", {}, {}};
Library kFontconfig{"libfontconfig.so.1", {}, {}};
Library kCups{"libcups.so.2", {}, {}};
Library kCairo{"libcairo.so.2", {}, {}};
// ICU's sonames carry its major version, as its function names do.
#define QUILL_EXPANDED_NAME(x) QUILL_LAZY_NAME(x)
#define QUILL_ICU_SONAME(lib) "lib" lib ".so." QUILL_EXPANDED_NAME(U_ICU_VERSION_MAJOR_NUM)
Library kIcuUc{QUILL_ICU_SONAME("icuuc"), {}, {}};
Library kIcuI18n{QUILL_ICU_SONAME("icui18n"), {}, {}};

bool Load(Library &lib) {
  std::call_once(lib.once, [&lib] {
    void *handle = dlopen(lib.soname, RTLD_NOW | RTLD_LOCAL);
    lib.handle.store(handle, std::memory_order_release);
    if (!handle) {
      const char *why = dlerror();
      std::fprintf(stderr, "quillrunner: cannot load %s: %s\n", lib.soname, why ? why : "");
    }
  });
  return Loaded(lib);
}

void *Find(Library &lib, const char *name) {
  void *address = Load(lib) ? dlsym(lib.handle.load(), name) : nullptr;
  if (!address) {
    std::fprintf(stderr, "quillrunner: %s has no function %s\n", lib.soname, name);
    std::abort();
  }
  return address;
}

} // namespace platform::lazy

namespace platform {
QUILL_SDL_FUNCTIONS(QUILL_LAZY_DEFINE)
QUILL_SDL_MIXER_FUNCTIONS(QUILL_LAZY_DEFINE)
QUILL_FLUID_FUNCTIONS(QUILL_LAZY_DEFINE)
QUILL_ALSA_FUNCTIONS(QUILL_LAZY_DEFINE)
QUILL_FONTCONFIG_FUNCTIONS(QUILL_LAZY_DEFINE)
QUILL_CUPS_FUNCTIONS(QUILL_LAZY_DEFINE)
QUILL_CAIRO_FUNCTIONS(QUILL_LAZY_DEFINE)
QUILL_ICU_FUNCTIONS(QUILL_LAZY_DEFINE)
} // namespace platform
