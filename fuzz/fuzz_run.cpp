// Runs arbitrary program text headless in-process, bounded by a statement
// count: every input ends through the error path or program end, without
// a crash or an overrun.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "runtime/engine.h"
#include "runtime/startup.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  setenv("QUILLRUNNER_BACKEND", "headless", 1);
  // Keep the program's files inside a scratch directory.
  std::string dir = platform::MakeTempDirectory();
  if (!dir.empty()) setenv("QUILLRUNNER_START_DIR", dir.c_str(), 1);
  static char name[] = "fuzz_run";
  static char *argv[] = {name, nullptr};
  platform::Initialize(1, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 8192) return 0;
  Engine engine;
  image::Payload payload;
  payload.faceName = image::kDefaultFaceName;
  payload.fontNumbers = image::kDefaultFontNumbers;
  payload.showFlag = 1;
  payload.program.assign(reinterpret_cast<const char *>(data), size);
  engine.payloadOverride = payload;
  engine.statementBudget.store(2000);
  ProgramEntry(engine);
  InstallEngine(nullptr);
  platform::ResetWindowManager();
  return 0;
}
