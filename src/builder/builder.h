// The builder: BASIC source files to the program text that the engine runs.
#pragma once

#include <string>
#include <vector>

#include "builder/diagnostics.h"
#include "runtime/source_map.h"

namespace builder {

struct SourceInput {
  std::string name;  // file name, used in messages and by CHAIN
  std::string bytes; // the file's contents (UTF-8 or code page 932)
};

struct BuildResult {
  std::string program; // the program text (valid only without errors)
  std::vector<Diagnostic> errors;
  srcmap::SourceMap sourceMap; // where each statement came from
  bool Ok() const { return errors.empty(); }
};

// Builds one program from the files in order; the first file's text runs
// first. Never fails on bad input other than by reporting errors.
BuildResult BuildProgram(const std::vector<SourceInput> &sources);

} // namespace builder
