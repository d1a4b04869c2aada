// State of the window manager shared by its files (windows, messages). One
// mutex guards all of it; each thread's queue has its own condition variable,
// on which only that thread waits. Window procedures and display driver calls
// always run with the mutex released.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/pixels.h"
#include "platform/win32.h"
#include "platform/winuser_window.h"

namespace platform::user {

struct WindowClass {
  ATOM atom = 0;
  std::string name;
  WNDPROC proc = nullptr;
  UINT style = 0;
};

struct Window {
  HWND hwnd = 0;
  HWND parent = 0;
  std::vector<HWND> children;
  DWORD thread = 0;
  WNDPROC proc = nullptr;
  ATOM classAtom = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string text;
  RECT rect;              // position in the parent (or on the screen) and size
  bool visible = false;   // its own flag; see IsVisible for the ancestors
  bool shownOnce = false; // WM_SIZE and WM_MOVE go out on the first show
  bool needsPaint = false;
  RECT update; // union of the invalidated rectangles while needsPaint
  bool destroying = false;
  void *param = nullptr;
  // The client-area pixels (WindowBackingStore), made on first use; they go
  // with the window (contexts still open keep them until released).
  std::shared_ptr<WindowPixels> pixels;
  int id = 0;          // a child's identifier (the menu argument of its creation)
  HMENU menu = 0;      // a top-level window's menu bar
  HMENU systemMenu = 0; // its own copy of the system menu, made on request
  bool enabled = true;
  bool minimized = false;
  bool maximized = false;
  RECT restoreRect; // the rectangle before maximising or minimising
  SCROLLINFO scroll[2]; // SB_HORZ, SB_VERT
};

// A message sent from another thread (or a request to destroy a window in
// its owner thread), waiting in the owner's queue for the owner to handle it.
struct SentMessage {
  enum class Kind { kMessage, kDestroy };
  Kind kind = Kind::kMessage;
  HWND hwnd = 0;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD sender = 0;
  bool done = false;
  LRESULT result = 0;
};

struct Queue {
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  bool quit = false;
  int quitCode = 0;
  std::condition_variable cv;
};

struct State {
  std::mutex mutex;
  std::unordered_map<HWND, Window> windows;
  std::vector<WindowClass> classes;
  std::unordered_map<DWORD, std::shared_ptr<Queue>> queues;
  HWND lastHandle = 0x00010000;
  ATOM lastAtom = 0xC000;
  HWND foreground = 0;
  HWND focus = 0;
  std::vector<HWND> zOrder; // top-level windows, frontmost first
  int defaultPlacements = 0; // CW_USEDEFAULT positions handed out
};

// The one instance (never destroyed, so threads ending during process exit
// still find it).
State &S();

// All below: the caller holds S().mutex.
Window *Find(State &s, HWND hwnd);
bool IsVisible(const State &s, const Window &w);
// The queue of THREAD, made on first use; null when no such thread runs.
std::shared_ptr<Queue> QueueOf(State &s, DWORD thread);
void WakeThread(State &s, DWORD thread);
// Removes HWND and its descendants without calling their procedures, fails
// the messages sent to them, and appends the removed handles to REMOVED.
void RemoveWindowTree(State &s, HWND hwnd, std::vector<HWND> &removed);

// Sends M to the queue of OWNER (another thread) and waits for the answer,
// handling messages sent to the calling thread meanwhile. Gives up with 0
// when the abort check says so (ABORTED set) or when OWNER has ended.
// ABORT (with CONTEXT), when given, is a further reason to give up, polled
// at least every 10 ms.
LRESULT SendAcross(std::unique_lock<std::mutex> &lock, State &s, DWORD self, DWORD owner,
                   const SentMessage &m, bool *aborted, bool (*abort)(void *) = nullptr,
                   void *context = nullptr);

// The window procedure of a system control class NAME (EDIT, BUTTON...), or
// null; the class is registered on first use.
WNDPROC SystemClassProc(const std::string &name);
// The top-level window HWND belongs to (itself for a top-level window).
HWND TopLevelOf(State &s, HWND hwnd);
// The origin of HWND's client area on the screen.
POINT ClientOrigin(State &s, const Window &w);
// The focus and foreground leave HWND (lock held; no messages).
void ForgetActive(State &s, HWND hwnd);
// Brings top-level TOP to the front as the foreground window (lock not held).
void ActivateWindow(HWND top);
// Scroll bar state of a SCROLLBAR control (its SB_CTL bar), for its
// procedure; null for another window. Lock held.
SCROLLINFO *ControlBar(State &s, HWND hwnd);
// The client size: the window minus a menu bar.
RECT ClientRectOf(const Window &w);

// Destroys HWND in its owner thread (the calling thread), for a request
// that another thread's DestroyWindow sent.
BOOL DestroyRequested(HWND hwnd);

// Tells the display driver about removed windows (lock not held).
void ReportRemoved(const std::vector<HWND> &removed);

// True when a blocked thread should give up its wait now (program end):
// the abort check that SetWaitAbortCheck installed. Lock not needed.
bool WaitShouldAbort();

// The window system moved or resized the top-level window HWND (the user
// dragged or resized it): the window gets its new rectangle (position on
// the screen and client size), WM_MOVE and WM_SIZE as they change, and is
// repainted. Lock not held. SIZE_TYPE is the wParam of WM_SIZE (restored,
// maximised).
void SystemMovedWindow(HWND hwnd, const RECT &rect, WPARAM sizeType);
// The window system gave the keyboard focus to the top-level window HWND
// (GAINED) or took it away: the foreground window follows and HWND gets
// WM_SETFOCUS or WM_KILLFOCUS.
void SystemFocusChanged(HWND hwnd, bool gained);

// Called by the thread-identity code when a thread ends: its queue goes, the
// messages sent to it fail, its windows are removed.
void ThreadEnded(DWORD thread);

} // namespace platform::user

namespace platform::kernel {
// True while the thread with this identifier runs.
bool IsThreadAlive(DWORD thread);
} // namespace platform::kernel
