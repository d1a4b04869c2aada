// The message queue of each BASIC thread: 32 entries of window, message,
// wParam and lParam, filled by the procedures of the "NORMAL" and "PROMPT"
// windows the thread owns and emptied by GETMESSAGE. Only the owning
// thread touches its queue (its procedures run in it), so it needs no lock.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "flow/threads.h"
#include "platform/win32.h"

constexpr int kMessageQueueSize = 32;

struct QueuedMessage {
  int32_t window = 0;
  int32_t message = 0;
  int32_t wParam = 0;
  int32_t lParam = 0;
};

struct MessageQueue {
  DWORD owner = 0; // the system thread the entries belong to
  std::array<QueuedMessage, kMessageQueueSize> entries{};
  int32_t count = 0;
  bool idle = false; // waiting in GETMESSAGE with nothing to handle
};

struct MessageQueues {
  // Made by the thread that first asks for its queue: most programs use
  // none, and all of them would take 130 KB to clear at start.
  std::array<std::unique_ptr<MessageQueue>, kMaxThreads> queues;
};

// The calling BASIC thread's queue (emptied when a new system thread took
// the slot); null for a thread that is no BASIC thread.
MessageQueue *CallingThreadQueue();

// Appends a message; a full queue first drops its oldest entry.
void AppendMessage(MessageQueue &q, const QueuedMessage &m);
// Marks the thread as waiting with nothing to handle (for scripted input).
void SetIdle(MessageQueue &q, bool idle);
// Takes entry 0 (which stays as it was when it was the only one).
QueuedMessage TakeMessage(MessageQueue &q);

// Handles the calling thread's messages, with the interpreter lock left,
// until DONE holds or the program ends (a console input in a window of the
// thread waits so: the window's procedure runs its line editor).
void HandleMessagesUntil(ThreadIndex slot, const std::function<bool()> &done);

void GETMESSAGE(std::string &arg, ThreadIndex slot);
