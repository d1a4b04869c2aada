// quillrunner: the engine. Started with a program image's payload at the end
// of its own file, it runs that program.
#include "platform/platform.h"
#include "runtime/engine.h"
#include "runtime/startup.h"

int main(int argc, char **argv) {
  platform::WatchTerminationSignals(TerminationRequested);
  platform::Initialize(argc, argv);
  static Engine engine;
  return ProgramEntry(engine);
}
