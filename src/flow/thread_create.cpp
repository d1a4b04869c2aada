#include "flow/thread_create.h"

#include <system_error>

#include "flow/jumps.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "runtime/statement_cache.h"

void CREATETHREAD(std::string &arg, ThreadIndex) {
  Engine &e = E();
  ThreadIndex slot = 0;
  while (slot < kMaxThreads && e.threads.slots[slot].handle.load()) ++slot;
  if (slot == kMaxThreads) {
    RuntimeError();
    return;
  }
  ThreadSlot &t = e.threads.slots[slot];
  bool resolved;
  ProgramPosition target = ParseTarget(arg, resolved);
  if (!resolved) return;
  // A slot given back by an ended thread may still hold that thread's
  // object; it has nothing left to do but return.
  if (t.system.joinable()) t.system.join();
  // What the ended thread derived points into its own thread's caches.
  t.cache.reset();
  t.returnDepth = 0;
  t.counter = target;
  t.ifLineFlag = 0;
  t.nextFlag = 0;
  t.handle.store(NewThreadHandle());
  try {
    t.system = std::thread([slot] {
      BindCurrentThread(slot);
      ThreadStart(slot);
    });
  } catch (const std::system_error &) {
    t.handle.store(0);
    RuntimeError();
  }
}
