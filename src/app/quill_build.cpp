// Placeholder subcommands until the builder lands.
#include <cstdio>

#include "app/quill_tool.h"

namespace quill {

static int NotYet(const char *what) {
  std::fprintf(stderr, "quill %s: the builder is not available yet\n", what);
  return 2;
}

int CmdBuild(const Args &) { return NotYet("build"); }
int CmdRun(const Args &) { return NotYet("run"); }
int CmdList(const Args &) { return NotYet("list"); }
int CmdCheck(const Args &) { return NotYet("check"); }

} // namespace quill
