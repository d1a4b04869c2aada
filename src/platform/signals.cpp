// Ctrl-C and SIGTERM: a watcher thread takes them with sigwait, so that the
// engine's reaction runs as ordinary code and not in a signal handler.
#include <csignal>
#include <pthread.h>
#include <thread>
#include <unistd.h>

#include "platform/platform.h"

namespace platform {

void WatchTerminationSignals(void (*onSignal)(int)) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  // Every thread started from here on inherits the mask, so only the
  // watcher ever receives the two signals.
  if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return;
  std::thread([set, onSignal] {
    bool first = true;
    for (;;) {
      int sig = 0;
      if (sigwait(&set, &sig) != 0) continue;
      // A second request while the program is still ending ends it at once.
      if (!first) _exit(128 + sig);
      first = false;
      onSignal(sig);
    }
  }).detach();
}

} // namespace platform
