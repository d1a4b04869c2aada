// Tracking a pop-up menu: TrackPopupMenu waits in the owner's thread,
// handling messages sent to it, until a choice is made (by the display
// backend or scripted input), the menu is dismissed, or the program ends.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/display.h"
#include "platform/platform.h"
#include "platform/winuser_menu.h"

namespace {

struct Tracking {
  std::mutex mutex;
  std::condition_variable cv;
  HMENU menu = 0;
  HWND owner = 0;
  bool done = false;
  UINT chosen = 0; // 0: dismissed
  bool choicesPossible = false;
};

Tracking &T() {
  static auto *t = new Tracking;
  return *t;
}

} // namespace

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT *) {
  if (!IsMenu(menu) || !IsWindow(owner)) return FALSE;
  Tracking &t = T();
  {
    std::lock_guard<std::mutex> lock(t.mutex);
    // One pop-up menu at a time, as on Windows.
    if (t.menu) return FALSE;
    t.menu = menu;
    t.owner = owner;
    t.done = false;
    t.chosen = 0;
  }
  platform::Display().PopupMenuShown(menu, owner, x, y);
  UINT chosen = 0;
  for (;;) {
    // Messages sent to this thread are handled meanwhile.
    MSG m;
    PeekMessageA(&m, 0, 0, 0, PM_NOREMOVE);
    std::unique_lock<std::mutex> lock(t.mutex);
    bool give = !t.done && platform::IsHeadless() && !t.choicesPossible;
    if (t.done || give || !IsWindow(owner) || platform::WaitAborted()) {
      chosen = t.done ? t.chosen : 0;
      t.menu = 0;
      t.owner = 0;
      t.done = false;
      break;
    }
    t.cv.wait_for(lock, std::chrono::milliseconds(10));
  }
  platform::Display().PopupMenuShown(0, owner, x, y);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (!chosen) return FALSE;
  if (!(flags & TPM_NONOTIFY)) PostMessageA(owner, WM_COMMAND, chosen & 0xFFFF, 0);
  return TRUE;
}

namespace platform {

HMENU TrackedPopup(HWND *owner) {
  Tracking &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (owner) *owner = t.owner;
  return t.done ? 0 : t.menu;
}

bool ChooseTrackedItem(UINT id) {
  Tracking &t = T();
  HMENU menu;
  {
    std::lock_guard<std::mutex> lock(t.mutex);
    if (!t.menu || t.done) return false;
    menu = t.menu;
  }
  if (!MenuHasEnabledItem(menu, id)) return false;
  std::lock_guard<std::mutex> lock(t.mutex);
  if (t.menu != menu || t.done) return false;
  t.done = true;
  t.chosen = id;
  t.cv.notify_all();
  return true;
}

void DismissTrackedPopup() {
  Tracking &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (!t.menu) return;
  t.done = true;
  t.chosen = 0;
  t.cv.notify_all();
}

void SetPopupChoicesPossible(bool possible) {
  Tracking &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  t.choicesPossible = possible;
  t.cv.notify_all();
}

} // namespace platform
