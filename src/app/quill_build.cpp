// quill build / run / list / check: the builder and the lister behind the
// tool's command line.
#include <cstdio>

#include "app/quill_tool.h"
#include "builder/builder.h"
#include "builder/lister.h"
#include "platform/cp932.h"

namespace quill {
namespace {

// Reads the source files; false (with a message) when one cannot be read.
bool ReadSources(const Args &paths, std::vector<builder::SourceInput> &sources,
                 const char *command) {
  for (const std::string &p : paths) {
    builder::SourceInput s;
    s.name = p;
    if (!ReadFile(p, s.bytes)) {
      std::fprintf(stderr, "quill %s: cannot read %s\n", command, p.c_str());
      return false;
    }
    sources.push_back(std::move(s));
  }
  return true;
}

// Builds the sources; prints every error to stderr. False on errors.
// SOURCE_MAP, when given, receives the encoded statement positions.
bool Build(const std::vector<builder::SourceInput> &sources, std::string &program,
           std::string *sourceMap = nullptr) {
  builder::BuildResult result = builder::BuildProgram(sources);
  for (const builder::Diagnostic &d : result.errors)
    std::fputs(builder::FormatDiagnostic(d).c_str(), stderr);
  if (!result.Ok()) {
    std::fprintf(stderr, "%zu error%s\n", result.errors.size(),
                 result.errors.size() == 1 ? "" : "s");
    return false;
  }
  program = std::move(result.program);
  if (sourceMap) *sourceMap = srcmap::Encode(result.sourceMap);
  return true;
}

std::string BaseNameWithoutExtension(const std::string &path) {
  size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? std::string("program") : name;
}

} // namespace

int CmdBuild(const Args &argsIn) {
  Args args = argsIn;
  image::Payload payload;
  std::string error;
  if (!TakeImageOptions(args, payload, error)) {
    std::fprintf(stderr, "quill build: %s\n", error.c_str());
    return 2;
  }
  Args paths;
  std::string output;
  bool debug = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size())
      output = args[++i];
    else if (args[i] == "--debug")
      debug = true;
    else
      paths.push_back(args[i]);
  }
  if (paths.empty() || output.empty()) {
    std::fprintf(stderr, "usage: quill build SRC.bas [MORE.bas...] -o PROG [--debug] "
                         "[--font-face F] [--font \"N...\"] [--hidden]\n");
    return 2;
  }
  std::vector<builder::SourceInput> sources;
  if (!ReadSources(paths, sources, "build")) return 1;
  std::string sourceMap;
  if (!Build(sources, payload.program, debug ? &sourceMap : nullptr)) return 1;
  if (!image::WriteProgramImage(EnginePath(), output, payload, error, sourceMap)) {
    std::fprintf(stderr, "quill build: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int CmdRun(const Args &argsIn) {
  Args args, programArgs;
  bool rest = false;
  for (const std::string &a : argsIn) {
    if (!rest && a == "--")
      rest = true;
    else if (rest)
      programArgs.push_back(a);
    else
      args.push_back(a);
  }
  image::Payload payload;
  std::string error;
  if (!TakeImageOptions(args, payload, error)) {
    std::fprintf(stderr, "quill run: %s\n", error.c_str());
    return 2;
  }
  if (args.empty()) {
    std::fprintf(stderr, "usage: quill run SRC.bas [MORE.bas...] [-- ARGS...]\n");
    return 2;
  }
  std::vector<builder::SourceInput> sources;
  if (!ReadSources(args, sources, "run")) return 1;
  std::string sourceMap;
  if (!Build(sources, payload.program, &sourceMap)) return 1;
  return RunPayload(payload, BaseNameWithoutExtension(args[0]), programArgs, sourceMap);
}

int CmdList(const Args &args) {
  builder::ListOptions options;
  std::string path;
  for (const std::string &a : args) {
    if (a == "--bytes")
      options.bytes = true;
    else if (path.empty())
      path = a;
    else {
      std::fprintf(stderr, "quill list: unexpected argument '%s'\n", a.c_str());
      return 2;
    }
  }
  if (path.empty()) {
    std::fprintf(stderr, "usage: quill list PROG [--bytes]\n");
    return 2;
  }
  std::string data;
  if (!ReadFile(path, data)) {
    std::fprintf(stderr, "quill list: cannot read %s\n", path.c_str());
    return 1;
  }
  // A program image carries the text in its payload; anything else is taken
  // as a program text of its own.
  image::Payload payload;
  std::string_view text = data;
  if (image::DecodeImage(data, payload)) text = payload.program;
  std::string listing = cp932::ToUtf8(builder::ListProgram(text, options));
  std::fwrite(listing.data(), 1, listing.size(), stdout);
  return 0;
}

int CmdCheck(const Args &args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: quill check SRC.bas [MORE.bas...]\n");
    return 2;
  }
  std::vector<builder::SourceInput> sources;
  if (!ReadSources(args, sources, "check")) return 1;
  std::string program;
  return Build(sources, program) ? 0 : 1;
}

} // namespace quill
