#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/quill_tool.h"
#include "platform/cp932.h"
#include "platform/platform.h"

namespace quill {

std::string EnginePath() {
  std::string self = platform::SelfExecutablePath();
  auto slash = self.rfind('/');
  std::string dir = slash == std::string::npos ? "." : self.substr(0, slash);
  return dir + "/quillrunner";
}

bool ReadFile(const std::string &path, std::string &out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool TakeImageOptions(Args &args, image::Payload &payload, std::string &error) {
  payload.faceName = image::kDefaultFaceName;
  payload.fontNumbers = image::kDefaultFontNumbers;
  payload.showFlag = 0;
  Args rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &a = args[i];
    if (a == "--hidden") {
      payload.showFlag = 1;
    } else if (a == "--font-face" || a == "--font") {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      const std::string &v = args[++i];
      if (a == "--font-face") {
        payload.faceName = cp932::FromUtf8(v);
        if (payload.faceName.size() > image::kMaxFaceName) {
          error = "the font face name is longer than 31 bytes";
          return false;
        }
      } else {
        int n = 0;
        long value;
        int used;
        const char *p = v.c_str();
        while (std::sscanf(p, "%ld%n", &value, &used) == 1) {
          ++n;
          p += used;
        }
        while (*p == ' ') ++p;
        if (n != 14 || *p) {
          error = "--font needs 14 whole numbers separated by blanks";
          return false;
        }
        payload.fontNumbers = v;
        if (v.size() > image::kMaxFontNumbers) {
          error = "the font numbers text is longer than 127 bytes";
          return false;
        }
      }
    } else {
      rest.push_back(a);
    }
  }
  args = rest;
  return true;
}

int RunPayload(const image::Payload &payload, const std::string &name, const Args &programArgs,
               const std::string &sourceMap) {
  std::string dir = platform::MakeTempDirectory();
  if (dir.empty()) {
    std::fprintf(stderr, "quill: cannot create a temporary directory\n");
    return 2;
  }
  std::string path = dir + "/" + name;
  std::string error;
  int status;
  if (!image::WriteProgramImage(EnginePath(), path, payload, error, sourceMap)) {
    std::fprintf(stderr, "quill: %s\n", error.c_str());
    status = 2;
  } else {
    status = platform::RunProcess(path, programArgs, platform::CurrentDirectory());
  }
  platform::RemoveTree(dir);
  return status;
}

} // namespace quill
