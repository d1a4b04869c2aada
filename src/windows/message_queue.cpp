#include "windows/message_queue.h"

#include <atomic>
#include <vector>

#include "platform/input_feeder.h"

#include "data/assignment.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "windows/without_lock.h"

MessageQueue *CallingThreadQueue() {
  ThreadIndex slot = CurrentThreadIndex();
  if (slot < 0 || slot >= kMaxThreads) return nullptr;
  std::unique_ptr<MessageQueue> &made = E().messageQueues.queues[slot];
  if (!made) made = std::make_unique<MessageQueue>();
  MessageQueue &q = *made;
  DWORD self = GetCurrentThreadId();
  if (q.owner != self) {
    q = MessageQueue{};
    q.owner = self;
  }
  return &q;
}

void SetIdle(MessageQueue &q, bool idle) {
  if (q.idle == idle) return;
  q.idle = idle;
  if (idle) {
    E().keyboard.messageWaiters.fetch_add(1);
    platform::NotifyInputFeeder();
  } else {
    E().keyboard.messageWaiters.fetch_sub(1);
  }
}

void AppendMessage(MessageQueue &q, const QueuedMessage &m) {
  SetIdle(q, false);
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

void HandleMessagesUntil(ThreadIndex slot, const std::function<bool()> &done) {
  Engine &e = E();
  WithoutLock(slot, [&] {
    while (e.running.load() && !done()) {
      MSG m;
      if (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
        continue;
      }
      Sleep(10);
    }
    return 0;
  });
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
  // Wait until the queue holds a message, handling messages meanwhile.
  WithoutLock(slot, [&] {
    // Scripted input sees a thread that has nothing left to handle; the
    // first message appended ends that.
    struct Idle {
      MessageQueue &q;
      ~Idle() { SetIdle(q, false); }
    } idle{*q};
    while (q->count == 0 && e.running.load()) {
      MSG m;
      // A dispatched message that was not queued (a control's paint, a
      // message of another class) does not end the wait: ending it would
      // hand the program the message taken last a second time.
      if (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
        continue;
      }
      if (q->count == 0) SetIdle(*q, true);
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
