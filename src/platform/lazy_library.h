// Shared libraries loaded on first use. The display, media, synthesizer,
// MIDI port, font matching and printing libraries pull in about ninety others; linking them would make
// every program, even one that only prints to the console, pay for loading
// them at start. Their functions are called through Fn objects of the same
// names (declared in the namespace of the code that calls them, so they hide
// the headers' declarations), which load the library and find the function
// on their first call.
#pragma once

#include <atomic>
#include <mutex>

namespace platform::lazy {

struct Library {
  const char *soname;
  std::once_flag once;
  std::atomic<void *> handle{nullptr};
};

// The libraries, by the sonames the headers we build with belong to.
extern Library kSdl;
extern Library kSdlMixer;
extern Library kFluidSynth;
extern Library kAlsa;
extern Library kFontconfig;
extern Library kCups;
extern Library kCairo;
extern Library kIcuUc;
extern Library kIcuI18n;

// Loads LIB if it is not loaded yet; false (with the reason on stderr, once)
// when it cannot be.
bool Load(Library &lib);

// True when LIB has been loaded (it is not loaded by asking).
inline bool Loaded(const Library &lib) {
  return lib.handle.load(std::memory_order_acquire);
}

// The address of NAME in LIB. A library or function that is missing ends the
// process with a message naming it: callers check Load before a library's
// first use, so this is only reached when the installed library lacks a
// function it should have.
void *Find(Library &lib, const char *name);

template <typename F> class Fn;

template <typename R, typename... A> class Fn<R (*)(A...)> {
public:
  constexpr Fn(Library &lib, const char *name) : lib_(lib), name_(name) {}
  Fn(const Fn &) = delete;
  Fn &operator=(const Fn &) = delete;

  R operator()(A... args) const {
    Pointer f = fn_.load(std::memory_order_acquire);
    if (!f) {
      f = reinterpret_cast<Pointer>(Find(lib_, name_));
      fn_.store(f, std::memory_order_release);
    }
    return f(args...);
  }

private:
  using Pointer = R (*)(A...);
  Library &lib_;
  const char *name_;
  mutable std::atomic<Pointer> fn_{nullptr};
};

// C functions that the headers declare noexcept call the same way.
template <typename R, typename... A> class Fn<R (*)(A...) noexcept> : public Fn<R (*)(A...)> {
  using Fn<R (*)(A...)>::Fn;
};

} // namespace platform::lazy

// Declares (in the current namespace) the lazy function for each NAME of a
// list: X-macro LIST(DECLARE) with DECLARE(library, name).
#define QUILL_LAZY_DECLARE(lib, name) extern ::platform::lazy::Fn<decltype(&::name)> name;
// The name as the library exports it, after the headers' own renaming.
#define QUILL_LAZY_NAME(name) #name
#define QUILL_LAZY_DEFINE(lib, name)                                                               \
  ::platform::lazy::Fn<decltype(&::name)> name{::platform::lazy::lib, QUILL_LAZY_NAME(name)};
