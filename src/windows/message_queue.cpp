#include "windows/message_queue.h"

#include <vector>

#include "data/assignment.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "windows/without_lock.h"

MessageQueue *CallingThreadQueue() {
  ThreadIndex slot = CurrentThreadIndex();
  if (slot < 0 || slot >= kMaxThreads) return nullptr;
  MessageQueue &q = E().messageQueues.queues[slot];
  DWORD self = GetCurrentThreadId();
  if (q.owner != self) {
    q = MessageQueue{};
    q.owner = self;
  }
  return &q;
}

void AppendMessage(MessageQueue &q, const QueuedMessage &m) {
  if (q.count >= kMessageQueueSize) {
    for (int i = 0; i + 1 < kMessageQueueSize; ++i) q.entries[i] = q.entries[i + 1];
    q.count = kMessageQueueSize - 1;
  }
  q.entries[q.count++] = m;
}

QueuedMessage TakeMessage(MessageQueue &q) {
  QueuedMessage m = q.entries[0];
  if (q.count > 0) {
    --q.count;
    for (int i = 0; i < q.count; ++i) q.entries[i] = q.entries[i + 1];
  }
  return m;
}

void GETMESSAGE(std::string &arg, ThreadIndex slot) {
  Engine &e = E();
  std::string text = StripBlanks(arg);
  std::vector<std::string> names;
  for (size_t at = 0; at < text.size() && names.size() < 4;) {
    std::string name;
    at = NextArgument(text, at, name);
    names.push_back(name);
  }
  if (names.size() < 4) {
    RuntimeError();
    return;
  }
  MessageQueue *q = CallingThreadQueue();
  if (!q) return;
  // Wait until the queue holds a message or one message was dispatched.
  WithoutLock(slot, [&] {
    while (q->count == 0 && e.running.load()) {
      MSG m;
      if (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
        break;
      }
      Sleep(10);
    }
    return 0;
  });
  QueuedMessage m = TakeMessage(*q);
  const int32_t values[4] = {m.window, m.message, m.wParam, m.lParam};
  for (int i = 0; i < 4 && e.running.load(); ++i) {
    std::string assignment = names[i] + "=" + num::FormatD(values[i]);
    Assign(assignment);
  }
}
