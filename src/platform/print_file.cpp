// The file printer: with QUILLRUNNER_PRINTER_FILE=PATH the system has one
// printer, "Quillrunner PDF", 600 dots per inch on A4 paper, whose n-th
// finished document is written to PATH (the first) or to PATH with "-n"
// before its extension.
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/print_internal.h"

namespace platform::print {
namespace {

std::atomic<int> &JobCount() {
  static std::atomic<int> count{0};
  return count;
}

bool WriteWhole(const std::string &path, const std::string &bytes) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}

} // namespace

std::string FilePrinterPath() {
  const char *path = std::getenv("QUILLRUNNER_PRINTER_FILE");
  return path ? path : "";
}

std::string NumberedPath(const std::string &path, int n) {
  if (n <= 1) return path;
  size_t slash = path.find_last_of('/');
  size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = path.find_last_of('.');
  // A dot that starts the name (".pdf") or stands in a directory is no
  // extension.
  if (dot == std::string::npos || dot <= nameStart) dot = path.size();
  return path.substr(0, dot) + "-" + std::to_string(n) + path.substr(dot);
}

void ResetFilePrinterJobs() {
  JobCount().store(0);
}

std::unique_ptr<PrintDevice> OpenFilePrinter() {
  std::string path = FilePrinterPath();
  PageSetup a4; // 600 dots per inch, A4, no margins
  return MakePdfDevice(a4, [path](const std::string &, const std::string &pdf) {
    int n = JobCount().fetch_add(1) + 1;
    return WriteWhole(NumberedPath(path, n), pdf);
  });
}

} // namespace platform::print
