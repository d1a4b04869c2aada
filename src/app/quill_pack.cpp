#include <cstdio>

#include "app/quill_tool.h"

namespace quill {

int CmdPack(const Args &argsIn) {
  Args args = argsIn;
  image::Payload payload;
  std::string error;
  if (!TakeImageOptions(args, payload, error)) {
    std::fprintf(stderr, "quill pack: %s\n", error.c_str());
    return 2;
  }
  std::string input, output;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) {
      output = args[++i];
    } else if (input.empty()) {
      input = args[i];
    } else {
      std::fprintf(stderr, "quill pack: unexpected argument '%s'\n", args[i].c_str());
      return 2;
    }
  }
  if (input.empty() || output.empty()) {
    std::fprintf(stderr, "usage: quill pack TEXTFILE -o PROG [--font-face F] [--font \"N...\"] "
                         "[--hidden]\n");
    return 2;
  }
  if (!ReadFile(input, payload.program)) {
    std::fprintf(stderr, "quill pack: cannot read %s\n", input.c_str());
    return 1;
  }
  if (!image::WriteProgramImage(EnginePath(), output, payload, error)) {
    std::fprintf(stderr, "quill pack: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

} // namespace quill
