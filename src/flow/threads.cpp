#include "flow/threads.h"

#include "data/variables.h"
#include "graphics/screenshot.h"

#include "platform/platform.h"
#include "platform/win32.h"
#include "runtime/engine.h"
#include "runtime/run_loop.h"
#include "runtime/statement_cache.h"

namespace {

std::atomic<uint32_t> gNextHandle{0x1000};

} // namespace

thread_local constinit ThreadSlot *tlsCurrentSlot = nullptr;

namespace {

// Frees what the slot owned and gives the slot back; posts WM_CLOSE when it
// was the last BASIC thread.
void ReleaseSlot(ThreadIndex slot) {
  Engine &e = E();
  ThreadSlot &s = e.threads.slots[slot];
  ReleaseScopes(slot);
  tlsCurrentSlot = nullptr;
  s.waiting.store(0);
  s.id.store(0);
  s.handle.store(0);
  if (!AnyThreadInUse()) PostMessageA(e.mainWindow, WM_CLOSE, 0, 0);
}

} // namespace

ThreadSlot::ThreadSlot() = default;
ThreadSlot::~ThreadSlot() = default;

ThreadIndex CurrentThreadIndex() {
  ThreadSlot *s = tlsCurrentSlot;
  return s ? static_cast<ThreadIndex>(s - E().threads.slots) : kNoThread;
}

void BindCurrentThread(ThreadIndex slot) {
  tlsCurrentSlot = &E().threads.slots[slot];
  E().threads.slots[slot].id.store(GetCurrentThreadId());
}

uint32_t NewThreadHandle() {
  uint32_t h = gNextHandle.fetch_add(4);
  return h ? h : gNextHandle.fetch_add(4);
}

bool AnyThreadInUse() {
  for (const ThreadSlot &s : E().threads.slots)
    if (s.handle.load()) return true;
  return false;
}

void ThreadStart(ThreadIndex slot) {
  Engine &e = E();
  ThreadSlot &s = e.threads.slots[slot];
  // A counter on a line end (or on the sentinel in front of the first line)
  // steps onto the labelled line itself.
  if (s.counter != 0 && (e.program.At(s.counter) == '\n' ||
                         (s.counter == 0xFFFFFFFFu && e.program.At(s.counter - 1) == 0)))
    ++s.counter;
  try {
    RunLoop(slot);
  } catch (const ThreadExit &) {
  }
  // The first thread's windows go when it ends, so they are captured (when
  // QUILLRUNNER_WINDOW_SHOTS asks) while program end still waits for it.
  if (slot == 0) WriteWindowShots();
  ReleaseSlot(slot);
}

void ThreadEnd(ThreadIndex) {
  throw ThreadExit{};
}

void JoinEndedThreads() {
  auto self = std::this_thread::get_id();
  for (ThreadSlot &s : E().threads.slots)
    if (s.system.joinable() && s.system.get_id() != self) s.system.join();
}

void WakeWaiters() {
  Engine &e = E();
  { std::lock_guard<std::mutex> guard(e.waitMutex); }
  e.waitCondition.notify_all();
  platform::WakeAllWaiters();
}

bool BlockingWait(ThreadIndex slot, const std::function<bool()> &done,
                  std::chrono::milliseconds timeout) {
  Engine &e = E();
  ThreadSlot &s = e.threads.slots[slot];
  s.waiting.store(1);
  int depth = e.lock.LeaveAll();
  bool met = false;
  {
    std::unique_lock<std::mutex> guard(e.waitMutex);
    auto deadline = timeout == std::chrono::milliseconds::max()
                        ? std::chrono::steady_clock::time_point::max()
                        : std::chrono::steady_clock::now() + timeout;
    // Conditions set by other threads without the wait mutex are caught by
    // the periodic re-test.
    constexpr auto kPoll = std::chrono::milliseconds(10);
    while (e.running.load() && !(met = done())) {
      auto now = std::chrono::steady_clock::now();
      if (now >= deadline) break;
      e.waitCondition.wait_until(guard, std::min(deadline, now + kPoll));
    }
  }
  e.lock.EnterAgain(depth);
  s.waiting.store(0);
  if (!e.running.load()) ThreadEnd(slot);
  return met;
}
