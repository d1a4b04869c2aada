#include "builder/builder.h"

#include "builder/compiler.h"

namespace builder {

BuildResult BuildProgram(const std::vector<SourceInput> &sources) {
  std::vector<SourceFile> files;
  files.reserve(sources.size());
  for (const SourceInput &s : sources) files.push_back(MakeSourceFile(s.name, s.bytes));
  Compiler compiler(std::move(files));
  return compiler.Run();
}

} // namespace builder
