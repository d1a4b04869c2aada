#include "runtime/statement_cache.h"

#include <cstdio>
#include <cstdlib>

const bool gCheckingCaches = [] {
  const char *v = std::getenv("QUILLRUNNER_CHECK_CACHE");
  return v && *v && std::string_view(v) != "0";
}();

void CacheMismatch(const char *what, ProgramPosition at, std::string_view cached,
                   std::string_view fresh) {
  std::fprintf(
      stderr,
      "quillrunner: cache check failed: %s at position %u\n  cached: %.*s\n  fresh:  %.*s\n", what,
      static_cast<unsigned>(at), static_cast<int>(cached.size()), cached.data(),
      static_cast<int>(fresh.size()), fresh.data());
  std::fflush(stderr);
  std::abort();
}
