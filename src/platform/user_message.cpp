// Per-thread message queues: posting, sending across threads with the answer
// awaited, retrieval in the order Windows uses (sent messages are handled
// first, then posted messages, then the quit message, then WM_PAINT), and the
// abort check that lets program end interrupt a blocked thread.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/user_internal.h"

namespace {

using namespace platform::user;

std::atomic<platform::AbortCheck> abortCheck{nullptr};

// A queue holds at most this many posted messages; posting more fails.
constexpr size_t kMaxPosted = 10000;
constexpr HWND kThreadMessagesOnly = 0xFFFFFFFF;

bool Aborted() {
  platform::AbortCheck check = abortCheck.load();
  return check && check();
}

bool InRange(UINT message, UINT low, UINT high) {
  if (low == 0 && high == 0) return true;
  return message >= low && message <= high;
}

bool Matches(const MSG &m, HWND filter, UINT low, UINT high) {
  if (filter == kThreadMessagesOnly) {
    if (m.hwnd != 0) return false;
  } else if (filter != 0 && m.hwnd != filter) {
    return false;
  }
  return InRange(m.message, low, high);
}

// Handles the oldest message sent to the calling thread (lock held on entry
// and on return; released while the procedure runs).
void HandleOneSent(std::unique_lock<std::mutex> &lock, State &s, Queue &q) {
  std::shared_ptr<SentMessage> m = q.sent.front();
  q.sent.pop_front();
  HWND hwnd = m->hwnd;
  WNDPROC proc = nullptr;
  Window *w = Find(s, hwnd);
  if (w) proc = w->proc;
  lock.unlock();
  LRESULT result = 0;
  if (m->kind == SentMessage::Kind::kDestroy) {
    result = DestroyRequested(hwnd);
  } else if (proc) {
    result = proc(hwnd, m->message, m->wParam, m->lParam);
  }
  lock.lock();
  m->done = true;
  m->result = result;
  WakeThread(s, m->sender);
}

// Takes the next message for the filter (lock held). REMOVE false leaves it
// in place. WM_PAINT is made up for a visible window that needs painting.
bool TakeMessage(State &s, Queue &q, DWORD self, MSG *out, HWND filter, UINT low, UINT high,
                 bool remove) {
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (!Matches(*it, filter, low, high)) continue;
    *out = *it;
    if (remove) q.posted.erase(it);
    return true;
  }
  if (q.quit) {
    *out = MSG{};
    out->message = WM_QUIT;
    out->wParam = static_cast<WPARAM>(q.quitCode);
    out->time = GetTickCount();
    if (remove) q.quit = false;
    return true;
  }
  if (filter == kThreadMessagesOnly || !InRange(WM_PAINT, low, high)) return false;
  HWND best = 0;
  for (auto &[h, w] : s.windows) {
    if (w.thread != self || !w.needsPaint || (filter && h != filter)) continue;
    if (!IsVisible(s, w)) continue;
    if (best == 0 || h < best) best = h; // the oldest window first
  }
  if (!best) return false;
  *out = MSG{};
  out->hwnd = best;
  out->message = WM_PAINT;
  out->time = GetTickCount();
  return true;
}

// A window filter that can never match (not a window, or another thread's).
bool BadFilter(State &s, HWND filter, DWORD self) {
  if (filter == 0 || filter == kThreadMessagesOnly) return false;
  Window *w = Find(s, filter);
  return !w || w->thread != self;
}

BOOL Post(State &s, DWORD thread, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<Queue> q = QueueOf(s, thread);
  if (!q || q->posted.size() >= kMaxPosted) return FALSE;
  MSG m;
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  q->posted.push_back(m);
  q->cv.notify_all();
  return TRUE;
}

} // namespace

namespace platform::user {

std::shared_ptr<Queue> QueueOf(State &s, DWORD thread) {
  auto it = s.queues.find(thread);
  if (it != s.queues.end()) return it->second;
  if (thread == 0 || !platform::kernel::IsThreadAlive(thread)) return nullptr;
  auto q = std::make_shared<Queue>();
  s.queues.emplace(thread, q);
  return q;
}

void WakeThread(State &s, DWORD thread) {
  auto it = s.queues.find(thread);
  if (it != s.queues.end()) it->second->cv.notify_all();
}

LRESULT SendAcross(std::unique_lock<std::mutex> &lock, State &s, DWORD self, DWORD owner,
                   const SentMessage &message, bool *aborted, bool (*abort)(void *),
                   void *context) {
  if (aborted) *aborted = false;
  std::shared_ptr<Queue> target = QueueOf(s, owner);
  std::shared_ptr<Queue> mine = QueueOf(s, self);
  if (!target || !mine) return 0;
  auto m = std::make_shared<SentMessage>(message);
  m->sender = self;
  target->sent.push_back(m);
  target->cv.notify_all();
  for (;;) {
    if (m->done) return m->result;
    if (!mine->sent.empty()) {
      HandleOneSent(lock, s, *mine);
      continue;
    }
    if (Aborted() || (abort && abort(context))) {
      // Withdraw the message if the owner has not taken it yet.
      std::erase(target->sent, m);
      if (aborted) *aborted = true;
      return 0;
    }
    if (abort) {
      mine->cv.wait_for(lock, std::chrono::milliseconds(10));
    } else {
      mine->cv.wait(lock);
    }
  }
}

bool WaitShouldAbort() {
  return Aborted();
}

void ThreadEnded(DWORD thread) {
  State &s = S();
  std::vector<HWND> removed;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.queues.find(thread);
    if (it != s.queues.end()) {
      std::shared_ptr<Queue> q = it->second;
      s.queues.erase(it);
      for (auto &m : q->sent) {
        m->done = true;
        m->result = 0;
        WakeThread(s, m->sender);
      }
      q->sent.clear();
    }
    // The thread's windows go with it, as on Windows.
    std::vector<HWND> owned;
    for (auto &[h, w] : s.windows)
      if (w.thread == thread) owned.push_back(h);
    for (HWND h : owned) RemoveWindowTree(s, h, removed);
  }
  ReportRemoved(removed);
}

} // namespace platform::user

// ---- Posting ----

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD self = GetCurrentThreadId();
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (hwnd == 0) return Post(s, self, 0, msg, wParam, lParam);
  Window *w = Find(s, hwnd);
  if (!w) return FALSE;
  return Post(s, w->thread, hwnd, msg, wParam, lParam);
}

BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  GetCurrentThreadId();
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  return Post(s, threadId, 0, msg, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  DWORD self = GetCurrentThreadId();
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  std::shared_ptr<Queue> q = QueueOf(s, self);
  if (!q) return;
  q->quit = true;
  q->quitCode = exitCode;
  q->cv.notify_all();
}

// ---- Sending ----

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return platform::SendMessageAbortable(hwnd, msg, wParam, lParam, nullptr, nullptr, nullptr);
}

namespace platform {

LRESULT SendMessageAbortable(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                             bool (*abort)(void *), void *context, bool *aborted) {
  if (aborted) *aborted = false;
  DWORD self = GetCurrentThreadId();
  State &s = S();
  std::unique_lock<std::mutex> lock(s.mutex);
  Window *w = Find(s, hwnd);
  if (!w) return 0;
  if (w->thread == self) {
    WNDPROC proc = w->proc;
    lock.unlock();
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
  }
  SentMessage m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  return SendAcross(lock, s, self, w->thread, m, aborted, abort, context);
}

} // namespace platform

// ---- Retrieval ----

BOOL GetMessageA(MSG *msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return -1;
  DWORD self = GetCurrentThreadId();
  State &s = S();
  std::unique_lock<std::mutex> lock(s.mutex);
  std::shared_ptr<Queue> q = QueueOf(s, self);
  if (!q) return -1;
  for (;;) {
    if (!q->sent.empty()) {
      HandleOneSent(lock, s, *q);
      continue;
    }
    // A window filter that cannot match would wait for ever.
    if (BadFilter(s, hwnd, self)) return -1;
    if (TakeMessage(s, *q, self, msg, hwnd, filterMin, filterMax, true))
      return msg->message == WM_QUIT ? 0 : 1;
    if (Aborted()) return -1;
    q->cv.wait(lock);
  }
}

BOOL PeekMessageA(MSG *msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) return FALSE;
  DWORD self = GetCurrentThreadId();
  State &s = S();
  std::unique_lock<std::mutex> lock(s.mutex);
  std::shared_ptr<Queue> q = QueueOf(s, self);
  if (!q) return FALSE;
  while (!q->sent.empty()) HandleOneSent(lock, s, *q);
  if (BadFilter(s, hwnd, self)) return FALSE;
  return TakeMessage(s, *q, self, msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)
             ? TRUE
             : FALSE;
}

// Character messages come from the display driver's text input, so there is
// nothing to translate; key messages report that they were seen.
BOOL TranslateMessage(const MSG *msg) {
  if (!msg) return FALSE;
  return msg->message == WM_KEYDOWN || msg->message == WM_KEYUP ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG *msg) {
  if (!msg || msg->hwnd == 0) return 0;
  DWORD self = GetCurrentThreadId();
  State &s = S();
  WNDPROC proc;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    Window *w = Find(s, msg->hwnd);
    // Another thread's window is not called from here, as on Windows.
    if (!w || w->thread != self) return 0;
    proc = w->proc;
  }
  return proc ? proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_SETTEXT: {
    size_t size = 0;
    auto *text = static_cast<const char *>(platform::BorrowedBuffer(lParam, &size));
    std::string copy = text ? std::string(text, strnlen(text, size)) : std::string();
    return SetWindowTextA(hwnd, copy.c_str());
  }
  case WM_GETTEXT: {
    size_t size = 0;
    auto *buffer = static_cast<char *>(platform::BorrowedBuffer(lParam, &size));
    if (!buffer || wParam == 0) return 0;
    return GetWindowTextA(hwnd, buffer, static_cast<int>(std::min<size_t>(wParam, size)));
  }
  case WM_GETTEXTLENGTH:
    return GetWindowTextLengthA(hwnd);
  case WM_SYSCOMMAND:
    if ((wParam & 0xFFF0) == 0xF060) SendMessageA(hwnd, WM_CLOSE, 0, 0); // SC_CLOSE
    return 0;
  case WM_NCCREATE:
    return TRUE;
  case WM_CLOSE:
    DestroyWindow(hwnd);
    return 0;
  case WM_PAINT:
    ValidateRect(hwnd, nullptr);
    return 0;
  default:
    return 0;
  }
}

// ---- Abort hooks ----

namespace platform {

void SetWaitAbortCheck(AbortCheck check) {
  abortCheck.store(check);
}

bool WaitAborted() {
  return Aborted();
}

void WakeAllWaiters() {
  State &s = S();
  std::lock_guard<std::mutex> lock(s.mutex);
  for (auto &[thread, q] : s.queues) {
    (void)thread;
    q->cv.notify_all();
  }
}

} // namespace platform
