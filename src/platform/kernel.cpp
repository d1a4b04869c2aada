// Thread identity, sleeping and the tick count.
#include <chrono>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "platform/user_internal.h"

namespace {

struct Threads {
  std::mutex mutex;
  std::unordered_set<DWORD> alive;
  DWORD last = 0;
};

Threads &T() {
  static auto *t = new Threads;
  return *t;
}

// Gives the thread its identifier on first use and, when the thread ends,
// tells the window manager so that its queue and windows go away.
struct ThreadRecord {
  DWORD id;
  ThreadRecord() {
    Threads &t = T();
    std::lock_guard<std::mutex> lock(t.mutex);
    // Identifiers are small, never 0 and not handed out twice (they wrap
    // only after four billion threads, skipping those still alive).
    do {
      if (++t.last == 0) t.last = 1;
    } while (t.alive.contains(t.last));
    id = t.last;
    t.alive.insert(id);
  }
  ~ThreadRecord() {
    {
      Threads &t = T();
      std::lock_guard<std::mutex> lock(t.mutex);
      t.alive.erase(id);
    }
    platform::user::ThreadEnded(id);
  }
};

} // namespace

namespace platform::kernel {

bool IsThreadAlive(DWORD thread) {
  Threads &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  return t.alive.contains(thread);
}

} // namespace platform::kernel

DWORD GetCurrentThreadId() {
  thread_local ThreadRecord record;
  return record.id;
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

DWORD GetTickCount() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
