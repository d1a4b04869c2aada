// The builder on arbitrary source: it reports errors or builds, never
// fails otherwise; a built program lists as source that builds to the same
// program text again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "builder/builder.h"
#include "builder/lister.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 16384) return 0;
  std::string source(reinterpret_cast<const char *>(data), size);
  builder::BuildResult first = builder::BuildProgram({{"fuzz.bas", source}});
  if (!first.Ok()) return 0;
  std::string listing = builder::ListProgram(first.program, builder::ListOptions{});
  builder::BuildResult second = builder::BuildProgram({{"fuzz.bas", listing}});
  if (!second.Ok() || second.program != first.program) {
    std::fprintf(stderr, "listing does not build back:\n%s\n", listing.c_str());
    std::abort();
  }
  return 0;
}
