// Runs arbitrary program text headless in-process, bounded by a statement
// count and a wall-clock deadline: every input ends through the error path
// or program end, without a crash or an overrun. The programs run confined
// to a scratch directory that is emptied after each input: no path outside
// it, no process, no serial port, no system printer or sound hardware.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/confinement.h"
#include "platform/platform.h"
#include "runtime/engine.h"
#include "runtime/startup.h"

namespace {

std::string gScratch;

// Ends the run after its deadline, and again every half second until it
// has ended (a program can be between statements that do not wait).
class Deadline {
public:
  explicit Deadline(std::chrono::milliseconds limit)
      : thread_([this, limit] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (wake_.wait_for(lock, limit, [this] { return done_; })) return;
          while (!done_) {
            RequestProgramEnd();
            wake_.wait_for(lock, std::chrono::milliseconds(500), [this] { return done_; });
          }
        }) {}
  ~Deadline() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

void MakeScratch() {
  platform::RemoveTree(gScratch);
  ::mkdir(gScratch.c_str(), 0700);
  if (::chdir(gScratch.c_str()) != 0) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  gScratch = platform::MakeTempDirectory();
  if (gScratch.empty() || ::chdir(gScratch.c_str()) != 0) {
    std::fprintf(stderr, "fuzz_run: no scratch directory\n");
    std::abort();
  }
  // Nothing typed in: stdin is empty.
  int null = ::open("/dev/null", O_RDONLY);
  if (null < 0 || ::dup2(null, 0) < 0) std::abort();
  ::close(null);
  setenv("QUILLRUNNER_BACKEND", "headless", 1);
  setenv("QUILLRUNNER_START_DIR", gScratch.c_str(), 1);
  // Everything the runtime keeps by itself stays in the scratch directory
  // too: drive C:, the settings, printed documents and recorded MIDI.
  for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "QUILLRUNNER_DRIVE_C"})
    setenv(name, gScratch.c_str(), 1);
  setenv("QUILLRUNNER_SETTINGS", (gScratch + "/settings.ini").c_str(), 1);
  setenv("QUILLRUNNER_PRINTER_FILE", (gScratch + "/print.pdf").c_str(), 1);
  setenv("QUILLRUNNER_MIDI_FILE", (gScratch + "/music.mid").c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  for (const char *name : {"QUILLRUNNER_EVENTS", "QUILLRUNNER_CONSOLE_DUMP"}) unsetenv(name);
  if (!platform::ConfineTo(gScratch)) std::abort();
  std::atexit([] { platform::RemoveTree(gScratch); });
  static char name[] = "fuzz_run";
  static char *argv[] = {name, nullptr};
  platform::Initialize(1, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 8192) return 0;
  MakeScratch();
  {
    Engine engine;
    image::Payload payload;
    payload.faceName = image::kDefaultFaceName;
    payload.fontNumbers = image::kDefaultFontNumbers;
    payload.showFlag = 1;
    payload.program.assign(reinterpret_cast<const char *>(data), size);
    engine.payloadOverride = payload;
    engine.statementBudget.store(2000);
    {
      Deadline deadline(std::chrono::seconds(3));
      ProgramEntry(engine);
    }
    InstallEngine(nullptr);
    platform::ResetWindowManager();
  }
  return 0;
}

// fontconfig keeps what its first queries allocate until FcFini at exit;
// that is no leak of ours.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
