// quill: the tool that builds, runs, lists and checks Quillrunner programs.
#include <cstdio>
#include <cstring>

#include "app/quill_tool.h"

namespace {

void Usage() {
  std::fputs("usage:\n"
             "  quill run SRC.bas [MORE.bas...] [-- ARGS...]\n"
             "  quill build SRC.bas [MORE.bas...] -o PROG [--font-face F] [--font \"N...\"] "
             "[--hidden]\n"
             "  quill list PROG [--bytes]\n"
             "  quill check SRC.bas [MORE.bas...]\n"
             "  quill pack TEXT -o PROG [--font-face F] [--font \"N...\"] [--hidden]\n",
             stderr);
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    Usage();
    return 2;
  }
  quill::Args args(argv + 2, argv + argc);
  const char *cmd = argv[1];
  if (!std::strcmp(cmd, "pack")) return quill::CmdPack(args);
  if (!std::strcmp(cmd, "build")) return quill::CmdBuild(args);
  if (!std::strcmp(cmd, "run")) return quill::CmdRun(args);
  if (!std::strcmp(cmd, "list")) return quill::CmdList(args);
  if (!std::strcmp(cmd, "check")) return quill::CmdCheck(args);
  if (!std::strcmp(cmd, "--help") || !std::strcmp(cmd, "-h")) {
    Usage();
    return 0;
  }
  std::fprintf(stderr, "quill: unknown command '%s'\n", cmd);
  Usage();
  return 2;
}
