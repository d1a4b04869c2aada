// The display on a real screen, through SDL2: one SDL window per shown
// top-level window, its client area presented from the window's backing
// store, SDL's events turned into our window messages, the caret, the
// message box and the clipboard. Every SDL call happens on the driver's own
// user-interface thread; other threads hand it work through a queue.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/cp932.h"
#include "platform/display.h"
#include "platform/display_sdl.h"
#include "platform/display_sdl_keys.h"
#include "platform/menu_paint.h"
#include "platform/message_box_dialog.h"
#include "platform/pixels.h"
#include "platform/sdl_calls.h"
#include "platform/text_input.h"
#include "platform/user_internal.h"
#include "platform/winuser_input.h"
#include "platform/winuser_menu.h"
#include "platform/winuser_window.h"

namespace platform {
namespace {

constexpr Uint32 kFrameMs = 16;
constexpr Uint32 kCaretBlinkMs = 530; // the system's default blink time
constexpr int kDialogFontHeight = 12;

// ShowWindow commands and WM_SIZE kinds the driver acts on.
constexpr int kSwShowMinimized = 2;
constexpr int kSwMinimize = 6;
constexpr int kSwShowMinNoActive = 7;
constexpr int kSwRestore = 9;
constexpr int kSwForceMinimize = 11;
constexpr WPARAM kSizeRestored = 0;
constexpr WPARAM kSizeMinimized = 1;
constexpr WPARAM kSizeMaximized = 2;

// Mouse messages and key flags beyond the five the console uses.
constexpr UINT kWmMButtonDown = 0x0207;
constexpr UINT kWmMButtonUp = 0x0208;
constexpr WPARAM kMkShift = 0x0004;
constexpr WPARAM kMkControl = 0x0008;
constexpr WPARAM kMkMButton = 0x0010;
constexpr int kVkLButton = 0x01;
constexpr int kVkRButton = 0x02;
constexpr int kVkMButton = 0x04;
constexpr int kVkMenu = 0x12; // Alt

RECT Intersect(const RECT &a, const RECT &b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}
bool IsEmpty(const RECT &r) {
  return r.left >= r.right || r.top >= r.bottom;
}
RECT Offset(RECT r, int dx, int dy) {
  r.left += dx, r.right += dx, r.top += dy, r.bottom += dy;
  return r;
}
RECT Union(const RECT &a, const RECT &b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

// A window of the window manager as the driver knows it.
struct Node {
  HWND parent = 0;
  RECT rect; // in the parent's client area, or on the screen
  bool visible = false;
  std::vector<HWND> children; // in creation order: later ones lie on top
  std::string title;          // UTF-8
};

// The SDL side of a top-level window.
struct Top {
  SDL_Window *window = nullptr;
  SDL_Renderer *renderer = nullptr;
  SDL_Texture *texture = nullptr;
  int textureW = 0, textureH = 0;
  SDL_Texture *overlay = nullptr; // caret and composition
  int overlayW = 0, overlayH = 0;
  bool present = true;
  bool minimized = false;
  bool maximized = false;
  std::string composition; // input-method text being composed (UTF-8)
};

// A menu open on the screen, drawn over its top-level window's picture:
// the drop-down of a menu bar item or a tracked pop-up menu, and the
// submenus opened from it.
struct MenuLevel {
  HMENU menu = 0;
  int x = 0, y = 0; // top-left in the picture of the top-level window
  int hot = -1;     // the item under the mouse or chosen by the arrows
};

struct OpenMenus {
  HWND top = 0;       // the top-level window they are drawn over (0: none open)
  HWND owner = 0;     // the window that receives the choice
  bool popup = false; // a tracked pop-up menu, else a menu bar's drop-down
  int barItem = -1;   // the bar item opened
  std::vector<MenuLevel> levels;
};

// A dialog (a message box, the print setup) on the screen and the thread
// waiting for its answer.
struct Dialog {
  std::shared_ptr<ModalDialog> box;
  HWND owner = 0; // the top-level window it is modal to (0: none)
  SDL_Window *window = nullptr;
  SDL_Renderer *renderer = nullptr;
  SDL_Texture *texture = nullptr;
  std::vector<uint32_t> pixels;
  std::promise<int> answer;
  int fallback = IDOK; // the answer when the box cannot wait any longer
  bool answered = false;
  std::string title; // the caption, UTF-8
};

class SdlDisplay final : public DisplayDriver {
public:
  // Starts the UI thread and waits until SDL's video is up (true) or has
  // failed (false, with the reason in ERROR).
  bool Start(std::string &error) {
    std::promise<std::string> started;
    std::future<std::string> result = started.get_future();
    thread_ = std::thread([this, &started] { Main(started); });
    error = result.get();
    if (!error.empty()) {
      thread_.join();
      return false;
    }
    return true;
  }

  // Ends the UI thread (process exit).
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      stopping_ = true;
    }
    Wake();
    if (!thread_.joinable()) return;
    // Exit called on the UI thread itself (an X error ends the process from
    // there) cannot wait for it; a joinable thread would abort the exit.
    if (thread_.get_id() == std::this_thread::get_id()) {
      thread_.detach();
    } else {
      thread_.join();
    }
  }

  const char *Name() const override { return "sdl"; }
  bool IsHeadless() const override { return false; }
  int ScreenWidth() const override { return screenW_; }
  int ScreenHeight() const override { return screenH_; }

  void WindowCreated(HWND hwnd, HWND parent, const RECT &rect) override {
    // Text is converted here: the UI thread never needs the converter,
    // which process exit may already have taken down.
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    std::string title = cp932::ToUtf8(text);
    Run([this, hwnd, parent, rect, title] {
      Node &n = nodes_[hwnd];
      n.parent = parent;
      n.rect = rect;
      n.title = title;
      if (parent) nodes_[parent].children.push_back(hwnd);
    });
  }

  void WindowDestroyed(HWND hwnd) override {
    Run([this, hwnd] { Forget(hwnd); });
  }

  void WindowShown(HWND hwnd, bool visible) override {
    Run([this, hwnd, visible] {
      auto it = nodes_.find(hwnd);
      if (it == nodes_.end()) return;
      it->second.visible = visible;
      if (it->second.parent) {
        PresentTopOf(hwnd, true);
        return;
      }
      Top *t = visible ? EnsureTop(hwnd) : FindTop(hwnd);
      if (!t) return;
      if (visible) {
        SDL_ShowWindow(t->window);
        t->present = true;
      } else {
        SDL_HideWindow(t->window);
      }
    });
  }

  void WindowShowState(HWND hwnd, int cmd) override {
    Run([this, hwnd, cmd] {
      Top *t = FindTop(hwnd);
      if (!t) return;
      switch (cmd) {
      case kSwShowMinimized:
      case kSwMinimize:
      case kSwShowMinNoActive:
      case kSwForceMinimize:
        SDL_MinimizeWindow(t->window);
        break;
      case kSwRestore:
        SDL_RestoreWindow(t->window);
        break;
      default:
        break;
      }
    });
  }

  void WindowMoved(HWND hwnd, const RECT &screenRect) override {
    // A child's place is kept in its parent's client coordinates.
    RECT rect = screenRect;
    if (HWND parent = GetParent(hwnd)) {
      POINT origin{0, 0};
      ClientToScreen(parent, &origin);
      rect = Offset(rect, -origin.x, -origin.y);
    }
    Run([this, hwnd, rect] {
      auto it = nodes_.find(hwnd);
      if (it == nodes_.end()) return;
      it->second.rect = rect;
      if (it->second.parent) {
        PresentTopOf(hwnd, true);
        return;
      }
      if (Top *t = FindTop(hwnd)) {
        SDL_SetWindowPosition(t->window, rect.left, rect.top);
        SDL_SetWindowSize(t->window, std::max<LONG>(1, rect.right - rect.left),
                          std::max<LONG>(1, rect.bottom - rect.top));
        t->present = true;
      }
    });
  }

  void WindowTextChanged(HWND hwnd, std::string_view text) override {
    std::string title = cp932::ToUtf8(text);
    Run([this, hwnd, title] {
      if (Node *n = NodeOf(hwnd)) n->title = title;
      if (Top *t = FindTop(hwnd)) SDL_SetWindowTitle(t->window, title.c_str());
    });
  }

  void WindowToForeground(HWND hwnd) override {
    Run([this, hwnd] {
      Top *t = FindTop(hwnd);
      if (t && SDL_GetKeyboardFocus() != t->window &&
          !(SDL_GetWindowFlags(t->window) & SDL_WINDOW_HIDDEN))
        SDL_RaiseWindow(t->window);
    });
  }

  void MenuBarChanged(HWND hwnd) override {
    Run([this, hwnd] {
      if (Top *t = FindTop(hwnd)) t->present = true;
    });
  }

  void PopupMenuShown(HMENU menu, HWND owner, int x, int y) override {
    Run([this, menu, owner, x, y] {
      if (menu) {
        OpenPopup(menu, owner, x, y);
      } else if (menus_.popup && menus_.owner == owner) {
        CloseMenus(false);
      }
    });
  }

  int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type,
                 int answer) override {
    std::string textCopy(text), captionCopy(caption);
    return RunDialog(
        owner,
        [textCopy, captionCopy, type, answer](std::shared_ptr<const DialogText> font, int w,
                                              int h) -> std::shared_ptr<ModalDialog> {
          return std::make_shared<MessageBoxDialog>(std::move(font), textCopy, captionCopy, type,
                                                    answer, w, h);
        },
        answer);
  }

  int RunDialog(HWND owner, ModalDialogFactory make, int fallback) override {
    if (OnUiThread() || !make) return fallback; // never block the thread that shows it
    auto dialog = std::make_shared<Dialog>();
    std::future<int> result = dialog->answer.get_future();
    bool queued =
        Run([this, dialog, owner, make, fallback] { OpenDialog(dialog, owner, make, fallback); });
    if (!queued) return fallback;
    // Program end gives up the wait: the dialog goes away with the fallback.
    bool withdrawn = false;
    for (;;) {
      if (result.wait_for(std::chrono::milliseconds(20)) == std::future_status::ready)
        return result.get();
      if (Finished()) return fallback; // the UI thread has gone
      if (!withdrawn && (user::WaitShouldAbort() || Stopping())) {
        withdrawn = true;
        Run([this, dialog, fallback] { FinishDialog(*dialog, fallback); });
      }
    }
  }

  bool SetClipboardText(std::string_view text) override {
    // The X clipboard holds lines ended by LF.
    std::string utf8;
    std::string converted = cp932::ToUtf8(text);
    for (size_t i = 0; i < converted.size(); ++i) {
      if (converted[i] == '\r' && i + 1 < converted.size() && converted[i + 1] == '\n') continue;
      utf8.push_back(converted[i]);
    }
    bool ok = false;
    RunAndWait([&] { ok = SDL_SetClipboardText(utf8.c_str()) == 0; });
    return ok;
  }

  bool GetClipboardText(std::string &text) override {
    bool ok = false;
    std::string utf8;
    RunAndWait([&] {
      if (!SDL_HasClipboardText()) return;
      char *got = SDL_GetClipboardText();
      if (!got) return;
      utf8 = got;
      SDL_free(got);
      ok = true;
    });
    if (!ok) return false;
    // Programs see Windows' CR LF line ends.
    std::string withCr;
    for (size_t i = 0; i < utf8.size(); ++i) {
      if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) withCr.push_back('\r');
      withCr.push_back(utf8[i]);
    }
    text = cp932::FromUtf8(withCr);
    return true;
  }

private:
  // ---- Work from other threads ----

  bool OnUiThread() const { return std::this_thread::get_id() == uiThread_.load(); }

  bool Stopping() {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopping_;
  }

  bool Finished() {
    std::lock_guard<std::mutex> lock(mutex_);
    return finished_;
  }

  // Queues WORK for the UI thread (runs it at once on the UI thread); false
  // once the thread has stopped.
  bool Run(std::function<void()> work) {
    if (OnUiThread()) {
      work();
      return true;
    }
    bool wake;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (finished_) return false;
      wake = work_.empty();
      work_.push_back(std::move(work));
    }
    if (wake) Wake();
    return true;
  }

  // Runs WORK on the UI thread and waits for it; false when it did not run.
  bool RunAndWait(const std::function<void()> &work) {
    if (OnUiThread()) {
      work();
      return true;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    if (!Run([&work, done] {
          work();
          done->set_value();
        }))
      return false;
    finished.wait();
    return true;
  }

  // Queued work (and stopping) ends the UI thread's wait at once.
  void Wake() { wakeCv_.notify_all(); }

  // Waits up to WAIT ms for an SDL event (true: E holds it), ending early
  // when work is queued. SDL's own timed wait is not used: SDL 2.26 keeps
  // the window it would wake after a wait that timed out, later sends its
  // X wake-up message to that window even when it has been destroyed
  // meanwhile, and the X error ends the process. So events are polled.
  bool WaitForEvent(SDL_Event &e, int wait) {
    constexpr int kPollMs = 4;
    for (;;) {
      if (SDL_PollEvent(&e)) return true;
      if (wait <= 0) return false;
      const int slice = std::min(wait, kPollMs);
      std::unique_lock<std::mutex> lock(mutex_);
      if (!work_.empty() || stopping_) return false;
      wakeCv_.wait_for(lock, std::chrono::milliseconds(slice));
      if (!work_.empty() || stopping_) return false;
      wait -= slice;
    }
  }

  void RunQueued() {
    std::vector<std::function<void()>> batch;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      batch.swap(work_);
    }
    for (auto &w : batch) w();
  }

  // ---- The UI thread ----

  void Main(std::promise<std::string> &started) {
    uiThread_.store(std::this_thread::get_id());
    if (!lazy::Load(lazy::kSdl)) {
      started.set_value("SDL2 cannot be loaded");
      return;
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // Ctrl+C stays the terminal's
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The software renderer draws into the window's own X image: bringing
    // up OpenGL in software for it costs seconds on a busy machine.
    if (!std::getenv("SDL_RENDER_DRIVER")) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Without a Wayland display, SDL would try Wayland first and complain
    // on stderr.
    if (!std::getenv("SDL_VIDEODRIVER") && !std::getenv("WAYLAND_DISPLAY"))
      SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      std::string why = SDL_GetError();
      SDL_Quit();
      started.set_value(why.empty() ? "no video" : why);
      return;
    }
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0) {
      bounds.w = 1024;
      bounds.h = 768;
    }
    screenW_ = bounds.w;
    screenH_ = bounds.h;
    wakeEvent_ = SDL_RegisterEvents(1);
    if (wakeEvent_ == static_cast<Uint32>(-1)) {
      SDL_Quit();
      started.set_value("no user events");
      return;
    }
    dialogText_ = MakeDialogText(kDialogFontHeight);
    SDL_StartTextInput();
    started.set_value(std::string());
    Loop();
  }

  void Loop() {
    Uint32 next = SDL_GetTicks();
    for (;;) {
      RunQueued();
      if (Stopping()) break;
      Uint32 now = SDL_GetTicks();
      auto wait = static_cast<int32_t>(next - now);
      wait = std::clamp<int32_t>(wait, 0, kFrameMs);
      SDL_Event e;
      if (WaitForEvent(e, wait)) {
        Handle(e);
        while (SDL_PollEvent(&e)) Handle(e);
      }
      now = SDL_GetTicks();
      if (static_cast<int32_t>(now - next) >= 0) {
        PresentAll(now);
        next = now + kFrameMs;
      }
    }
    // The process is ending: work still queued is dropped (its waiters see
    // the thread finished), open boxes answer with their default.
    {
      std::lock_guard<std::mutex> lock(mutex_);
      finished_ = true;
      work_.clear();
    }
    std::vector<std::shared_ptr<Dialog>> open = dialogs_;
    for (auto &d : open) FinishDialog(*d, d->fallback);
    dialogs_.clear();
    std::vector<HWND> tops;
    for (auto &[h, t] : tops_) tops.push_back(h);
    for (HWND h : tops) DestroyTop(h);
    SDL_StopTextInput();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
  }

  // ---- Windows ----

  Top *FindTop(HWND hwnd) {
    auto it = tops_.find(hwnd);
    return it == tops_.end() ? nullptr : &it->second;
  }

  HWND TopLevelOf(HWND hwnd, int *dx = nullptr, int *dy = nullptr) {
    int x = 0, y = 0;
    for (int guard = 0; guard < 4096; ++guard) {
      auto it = nodes_.find(hwnd);
      if (it == nodes_.end()) return 0;
      if (it->second.parent == 0) {
        if (dx) *dx = x;
        if (dy) *dy = y;
        return hwnd;
      }
      x += it->second.rect.left;
      y += it->second.rect.top;
      hwnd = it->second.parent;
    }
    return 0;
  }

  void PresentTopOf(HWND hwnd, bool all) {
    if (Top *t = FindTop(TopLevelOf(hwnd))) {
      t->present = true;
      if (all) t->textureW = -1; // upload everything again
    }
  }

  Top *EnsureTop(HWND hwnd) {
    if (Top *t = FindTop(hwnd)) return t;
    auto it = nodes_.find(hwnd);
    if (it == nodes_.end()) return nullptr;
    const RECT &r = it->second.rect;
    int w = std::max<LONG>(1, r.right - r.left);
    int h = std::max<LONG>(1, r.bottom - r.top);
    Top t;
    t.window =
        SDL_CreateWindow(it->second.title.c_str(), r.left, r.top, w, h,
                         SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!t.window) return nullptr;
    // The software renderer unless the user chose one: the picture is one
    // texture copy, and it needs no GPU.
    Uint32 flags = std::getenv("SDL_RENDER_DRIVER") ? 0 : SDL_RENDERER_SOFTWARE;
    t.renderer = SDL_CreateRenderer(t.window, -1, flags);
    if (!t.renderer) t.renderer = SDL_CreateRenderer(t.window, -1, 0);
    if (!t.renderer) {
      SDL_DestroyWindow(t.window);
      return nullptr;
    }
    windowIds_[SDL_GetWindowID(t.window)] = hwnd;
    return &tops_.emplace(hwnd, t).first->second;
  }

  void DestroyTop(HWND hwnd) {
    auto it = tops_.find(hwnd);
    if (it == tops_.end()) return;
    Top &t = it->second;
    windowIds_.erase(SDL_GetWindowID(t.window));
    if (t.overlay) SDL_DestroyTexture(t.overlay);
    if (t.texture) SDL_DestroyTexture(t.texture);
    SDL_DestroyRenderer(t.renderer);
    SDL_DestroyWindow(t.window);
    tops_.erase(it);
  }

  void Forget(HWND hwnd) {
    auto it = nodes_.find(hwnd);
    if (it == nodes_.end()) return;
    HWND parent = it->second.parent;
    std::vector<HWND> children = it->second.children;
    for (HWND c : children) Forget(c);
    if (parent) {
      auto p = nodes_.find(parent);
      if (p != nodes_.end()) std::erase(p->second.children, hwnd);
      PresentTopOf(parent, true);
    }
    if (menus_.top == hwnd || menus_.owner == hwnd) CloseMenus(true);
    DestroyTop(hwnd);
    for (auto &d : dialogs_)
      if (d->owner == hwnd) d->owner = 0;
    heldKeys_.erase(hwnd);
    nodes_.erase(hwnd);
  }

  // ---- Presenting ----

  // Copies the dirty part of HWND's store (and REDO, a part of it that lies
  // under a changed parent) into the texture at (DX, DY), clipped to CLIP;
  // then its visible children. Returns the rectangle of the texture that
  // changed.
  RECT Upload(Top &t, HWND hwnd, int dx, int dy, const RECT &clip, RECT redo) {
    RECT changed{};
    std::shared_ptr<WindowPixels> store = WindowBackingStore(hwnd);
    if (!store) return changed;
    RECT area;
    {
      std::lock_guard<std::mutex> lock(store->mutex);
      RECT r = Union(store->dirty, redo);
      store->dirty = RECT{};
      r = Intersect(r, RECT{0, 0, store->width, store->height});
      area = Intersect(Offset(RECT{0, 0, store->width, store->height}, dx, dy), clip);
      RECT on = Intersect(Offset(r, dx, dy), area);
      if (!IsEmpty(on)) {
        SDL_Rect dst{on.left, on.top, on.right - on.left, on.bottom - on.top};
        const uint32_t *src = store->View().Row(on.top - dy) + (on.left - dx);
        SDL_UpdateTexture(t.texture, &dst, src, store->width * 4);
        changed = on;
      }
    }
    auto it = nodes_.find(hwnd);
    if (it == nodes_.end()) return changed;
    std::vector<HWND> children = it->second.children;
    for (HWND c : children) {
      auto ci = nodes_.find(c);
      if (ci == nodes_.end() || !ci->second.visible) continue;
      const RECT &cr = ci->second.rect;
      int cx = dx + cr.left, cy = dy + cr.top;
      // What changed under the child is drawn again from the child.
      RECT under = Offset(changed, -cx, -cy);
      RECT got = Upload(t, c, cx, cy, area, under);
      changed = Union(changed, got);
    }
    return changed;
  }

  void PresentAll(Uint32 now) {
    CaretState caret = CurrentCaret();
    int caretDx = 0, caretDy = 0;
    HWND caretTop = caret.window ? TopLevelOf(caret.window, &caretDx, &caretDy) : 0;
    bool caretMoved = caret.window != caret_.window || caret.visible != caret_.visible ||
                      caret.position.x != caret_.position.x ||
                      caret.position.y != caret_.position.y || caret.width != caret_.width ||
                      caret.height != caret_.height;
    if (caretMoved) {
      // A moved caret shows at once, then blinks.
      if (Top *old = FindTop(caretTop_)) old->present = true;
      blinkStart_ = now;
      caret_ = caret;
      caretTop_ = caretTop;
    }
    bool phase = ((now - blinkStart_) / kCaretBlinkMs) % 2 == 0;
    if (phase != blinkOn_) {
      blinkOn_ = phase;
      if (Top *ct = FindTop(caretTop)) ct->present = true;
    }
    if (caretMoved)
      if (Top *ct = FindTop(caretTop)) ct->present = true;

    for (auto &[hwnd, t] : tops_) {
      auto node = nodes_.find(hwnd);
      if (node == nodes_.end() || !node->second.visible || t.minimized) continue;
      std::shared_ptr<WindowPixels> store = WindowBackingStore(hwnd);
      if (!store) continue;
      int w, h;
      {
        std::lock_guard<std::mutex> lock(store->mutex);
        w = store->width;
        h = store->height;
      }
      RECT redo{};
      if (!t.texture || t.textureW != w || t.textureH != h) {
        if (t.texture) SDL_DestroyTexture(t.texture);
        t.texture = nullptr;
        if (w > 0 && h > 0)
          t.texture = SDL_CreateTexture(t.renderer, SDL_PIXELFORMAT_RGB888,
                                        SDL_TEXTUREACCESS_STREAMING, w, h);
        t.textureW = w;
        t.textureH = h;
        redo = RECT{0, 0, w, h};
        t.present = true;
      }
      if (!t.texture) continue;
      RECT changed = Upload(t, hwnd, 0, 0, RECT{0, 0, w, h}, redo);
      if (!IsEmpty(changed)) t.present = true;
      if (!t.present) continue;
      t.present = false;
      Draw(hwnd, t, caretTop == hwnd && caret.visible && blinkOn_, caretDx, caretDy);
    }
    for (auto &d : dialogs_) DrawDialog(*d);
  }

  // The picture of a top-level window: its texture scaled to the window's
  // drawable size (high-DPI screens), the caret and the composition.
  void Draw(HWND hwnd, Top &t, bool caretOn, int caretDx, int caretDy) {
    int winW = 1, winH = 1, outW = 1, outH = 1;
    SDL_GetWindowSize(t.window, &winW, &winH);
    if (SDL_GetRendererOutputSize(t.renderer, &outW, &outH) != 0) outW = winW, outH = winH;
    double sx = winW > 0 ? static_cast<double>(outW) / winW : 1.0;
    double sy = winH > 0 ? static_cast<double>(outH) / winH : 1.0;
    auto scaled = [&](int x, int y, int w, int h) {
      return SDL_Rect{static_cast<int>(x * sx), static_cast<int>(y * sy),
                      static_cast<int>(w * sx + 0.5), static_cast<int>(h * sy + 0.5)};
    };
    SDL_SetRenderDrawColor(t.renderer, 0, 0, 0, 255);
    SDL_RenderClear(t.renderer);
    // A menu bar takes the top rows; the client area lies below it.
    const int bar = BarHeight(hwnd);
    SDL_Rect all = scaled(0, bar, t.textureW, t.textureH);
    SDL_RenderCopy(t.renderer, t.texture, nullptr, &all);
    if (caretOn) DrawCaret(t, caretDx, caretDy + bar, scaled);
    if (!t.composition.empty()) DrawComposition(hwnd, t, bar, scaled);
    DrawMenus(hwnd, t, winW, scaled);
    SDL_RenderPresent(t.renderer);
  }

  // A solid caret inverts the pixels under it.
  template <typename Scale> void DrawCaret(Top &t, int dx, int dy, Scale scaled) {
    std::shared_ptr<WindowPixels> store = WindowBackingStore(caret_.window);
    if (!store || caret_.width <= 0 || caret_.height <= 0) return;
    RECT want{caret_.position.x, caret_.position.y, caret_.position.x + caret_.width,
              caret_.position.y + caret_.height};
    std::vector<uint32_t> pixels;
    RECT r;
    {
      std::lock_guard<std::mutex> lock(store->mutex);
      r = Intersect(want, RECT{0, 0, store->width, store->height});
      if (IsEmpty(r)) return;
      pixels.reserve(static_cast<size_t>(r.right - r.left) * (r.bottom - r.top));
      PixelView view = store->View();
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.push_back(view.Row(y)[x] ^ 0x00FFFFFF);
    }
    int w = r.right - r.left, h = r.bottom - r.top;
    SDL_Texture *tex = Overlay(t, w, h);
    if (!tex) return;
    SDL_Rect part{0, 0, w, h};
    SDL_UpdateTexture(tex, &part, pixels.data(), w * 4);
    SDL_Rect dst = scaled(r.left + dx, r.top + dy, w, h);
    SDL_RenderCopy(t.renderer, tex, &part, &dst);
  }

  // The text being composed, at the composition point the console set, in
  // the composition font, underlined, on white.
  template <typename Scale> void DrawComposition(HWND hwnd, Top &t, int bar, Scale scaled) {
    CompositionState c = Composition(hwnd);
    std::string text = cp932::FromUtf8(t.composition);
    int height = c.fontSet && c.font.lfHeight != 0 ? std::abs(c.font.lfHeight) : 16;
    height = std::clamp(height, 6, 256);
    std::unique_ptr<DialogText> font = MakeDialogText(height);
    int lineH = std::max(1, font->LineHeight());
    int w = std::clamp(font->Width(text) + 2, 1, 4096);
    int h = lineH + 2;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0x00FFFFFF);
    PixelView view{pixels.data(), w, h, w};
    font->Draw(view, 1, 0, text, 0x00000000);
    for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(h - 1) * w + x] = 0;
    SDL_Texture *tex = Overlay(t, w, h);
    if (!tex) return;
    SDL_Rect part{0, 0, w, h};
    SDL_UpdateTexture(tex, &part, pixels.data(), w * 4);
    int x = c.placed ? c.point.x : 0;
    int y = (c.placed ? c.point.y : 0) + bar;
    SDL_Rect dst = scaled(x, y, w, h);
    SDL_RenderCopy(t.renderer, tex, &part, &dst);
  }

  SDL_Texture *Overlay(Top &t, int w, int h) {
    if (!t.overlay || t.overlayW < w || t.overlayH < h) {
      if (t.overlay) SDL_DestroyTexture(t.overlay);
      t.overlayW = std::max(w, t.overlayW);
      t.overlayH = std::max(h, t.overlayH);
      t.overlay = SDL_CreateTexture(t.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    t.overlayW, t.overlayH);
    }
    return t.overlay;
  }

  // ---- Menus ----

  // The rows a top-level window's menu bar takes (0: it has none).
  static int BarHeight(HWND top) { return GetMenu(top) ? kMenuBarHeight : 0; }

  int PictureWidth(HWND top) {
    Node *n = NodeOf(top);
    return n ? std::max<int>(1, n->rect.right - n->rect.left) : 1;
  }
  int PictureHeight(HWND top) {
    Node *n = NodeOf(top);
    return n ? std::max<int>(1, n->rect.bottom - n->rect.top) : 1;
  }

  // Pixels drawn by PAINT into a W x H box, copied into the picture at (X, Y).
  template <typename Paint, typename Scale>
  void DrawBox(Top &t, int x, int y, int w, int h, Paint paint, Scale scaled) {
    if (w <= 0 || h <= 0) return;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0);
    paint(PixelView{pixels.data(), w, h, w});
    SDL_Texture *tex =
        SDL_CreateTexture(t.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STATIC, w, h);
    if (!tex) return;
    SDL_UpdateTexture(tex, nullptr, pixels.data(), w * 4);
    SDL_Rect dst = scaled(x, y, w, h);
    SDL_RenderCopy(t.renderer, tex, nullptr, &dst);
    SDL_DestroyTexture(tex);
  }

  // The menu bar of HWND and the menus open over it.
  template <typename Scale> void DrawMenus(HWND hwnd, Top &t, int width, Scale scaled) {
    if (HMENU bar = GetMenu(hwnd)) {
      int hot = menus_.top == hwnd && !menus_.popup ? menus_.barItem : -1;
      DrawBox(
          t, 0, 0, width, kMenuBarHeight, [&](const PixelView &v) { PaintMenuBar(bar, v, hot); },
          scaled);
    }
    if (menus_.top != hwnd) return;
    for (const MenuLevel &level : menus_.levels) {
      SIZE size = PopupMenuSize(level.menu);
      DrawBox(
          t, level.x, level.y, size.cx, size.cy,
          [&](const PixelView &v) { PaintPopupMenu(level.menu, v, level.hot); }, scaled);
    }
  }

  void PresentMenus() {
    if (Top *t = FindTop(menus_.top)) t->present = true;
  }

  // Closes every open menu; DISMISS: a tracked pop-up menu ends without a
  // choice.
  void CloseMenus(bool dismiss) {
    if (!menus_.top) return;
    if (dismiss && menus_.popup) DismissTrackedPopup();
    PresentMenus();
    menus_ = OpenMenus{};
  }

  // A box of SIZE at (X, Y), moved so that it fits in TOP's picture.
  void FitLevel(HWND top, MenuLevel &level) {
    SIZE size = PopupMenuSize(level.menu);
    level.x = std::clamp(level.x, 0, std::max<int>(0, PictureWidth(top) - size.cx));
    level.y = std::clamp(level.y, 0, std::max<int>(0, PictureHeight(top) - size.cy));
  }

  // A pop-up menu tracked for OWNER at screen point (X, Y).
  void OpenPopup(HMENU menu, HWND owner, int x, int y) {
    CloseMenus(false);
    HWND top = TopLevelOf(owner);
    Node *n = NodeOf(top);
    if (!FindTop(top) || !n || !n->visible) {
      // Nowhere to show it: it ends as if dismissed rather than waiting.
      DismissTrackedPopup();
      return;
    }
    MenuLevel level{menu, x - n->rect.left, y - n->rect.top, -1};
    FitLevel(top, level);
    menus_.top = top;
    menus_.owner = owner;
    menus_.popup = true;
    menus_.levels.push_back(level);
    PresentMenus();
  }

  // Opens the drop-down of bar item INDEX of TOP (a bar item without one
  // is a command, chosen at once).
  void OpenBarItem(HWND top, int index, bool hotFirst) {
    HMENU bar = GetMenu(top);
    std::vector<MenuItemView> items = MenuItems(bar);
    if (index < 0 || index >= static_cast<int>(items.size())) return;
    const MenuItemView &item = items[index];
    CloseMenus(true);
    if (item.separator || item.grayed) return;
    if (!item.subMenu) {
      PostMessageA(top, WM_COMMAND, item.id & 0xFFFF, 0);
      return;
    }
    RECT r = MenuBarItemRect(bar, index, PictureWidth(top));
    MenuLevel level{item.subMenu, r.left, kMenuBarHeight, -1};
    FitLevel(top, level);
    menus_.top = top;
    menus_.owner = top;
    menus_.barItem = index;
    menus_.levels.push_back(level);
    if (hotFirst) MoveHot(0, 1);
    PresentMenus();
  }

  // Opens the submenu of item ITEM of level LEVEL beside it.
  void OpenSubmenu(size_t level, int item, bool hotFirst) {
    menus_.levels.resize(level + 1);
    MenuLevel &from = menus_.levels[level];
    std::vector<MenuItemView> items = MenuItems(from.menu);
    if (item < 0 || item >= static_cast<int>(items.size()) || !items[item].subMenu ||
        items[item].grayed)
      return;
    RECT r = PopupMenuItemRect(from.menu, item);
    MenuLevel sub{items[item].subMenu, from.x + r.right - 2, from.y + r.top - 1, -1};
    FitLevel(menus_.top, sub);
    menus_.levels.push_back(sub);
    if (hotFirst) MoveHot(level + 1, 1);
    PresentMenus();
  }

  // The mouse is over item ITEM of LEVEL: it is highlighted, and the
  // submenu it opens is shown.
  void SetHot(size_t level, int item) {
    MenuLevel &l = menus_.levels[level];
    if (l.hot == item && menus_.levels.size() > level + 1) return;
    bool changed = l.hot != item;
    l.hot = item;
    if (changed) menus_.levels.resize(level + 1);
    std::vector<MenuItemView> items = MenuItems(l.menu);
    if (item >= 0 && item < static_cast<int>(items.size()) && items[item].subMenu &&
        menus_.levels.size() == level + 1)
      OpenSubmenu(level, item, false);
    PresentMenus();
  }

  // Moves the highlight of LEVEL to the next (STEP 1) or previous (-1)
  // item that can be chosen, going round.
  void MoveHot(size_t level, int step) {
    MenuLevel &l = menus_.levels[level];
    std::vector<MenuItemView> items = MenuItems(l.menu);
    const int n = static_cast<int>(items.size());
    if (n == 0) return;
    int at = l.hot < 0 ? (step > 0 ? -1 : n) : l.hot;
    for (int i = 0; i < n; ++i) {
      at = ((at + step) % n + n) % n;
      if (!items[at].separator && !items[at].grayed) {
        l.hot = at;
        menus_.levels.resize(level + 1);
        PresentMenus();
        return;
      }
    }
  }

  // Item ITEM of LEVEL is clicked or entered: a command closes the menus
  // and reaches the owner; a submenu opens.
  void Choose(size_t level, int item) {
    std::vector<MenuItemView> items = MenuItems(menus_.levels[level].menu);
    if (item < 0 || item >= static_cast<int>(items.size())) return;
    const MenuItemView &chosen = items[item];
    if (chosen.separator || chosen.grayed) return;
    if (chosen.subMenu) {
      OpenSubmenu(level, item, true);
      return;
    }
    const UINT id = chosen.id;
    const bool popup = menus_.popup;
    const HWND owner = menus_.owner;
    CloseMenus(false);
    // The same choice a script makes: a tracked menu returns it, a menu
    // bar's owner finds WM_COMMAND in its queue.
    if (popup) {
      if (!ChooseTrackedItem(id)) DismissTrackedPopup();
    } else {
      PostMessageA(owner, WM_COMMAND, id & 0xFFFF, 0);
    }
  }

  // Mouse input for TOP while it has a menu bar or an open menu; true when
  // the menus took it.
  bool MenuMouse(HWND top, UINT message, int x, int y) {
    const bool open = menus_.top == top && !menus_.levels.empty();
    HMENU bar = GetMenu(top);
    const bool inBar = bar && y >= 0 && y < kMenuBarHeight;
    if (!open && !inBar) {
      // A click in another window closes menus open elsewhere.
      if (menus_.top && (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)) CloseMenus(true);
      return false;
    }
    const int barItem = inBar ? MenuBarItemAt(bar, x, PictureWidth(top)) : -1;
    int level = -1, item = -1;
    if (open)
      for (int i = static_cast<int>(menus_.levels.size()) - 1; i >= 0; --i) {
        const MenuLevel &l = menus_.levels[i];
        SIZE size = PopupMenuSize(l.menu);
        if (x >= l.x && x < l.x + size.cx && y >= l.y && y < l.y + size.cy) {
          level = i;
          item = PopupMenuItemAt(l.menu, y - l.y);
          break;
        }
      }
    switch (message) {
    case WM_MOUSEMOVE:
      if (level >= 0) {
        SetHot(level, item);
      } else if (open && inBar && !menus_.popup && barItem >= 0 && barItem != menus_.barItem) {
        OpenBarItem(top, barItem, false);
      }
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (level >= 0) return true; // chosen when the button comes up
      if (open) {
        const bool same = inBar && !menus_.popup && barItem == menus_.barItem;
        CloseMenus(true);
        if (same || !inBar) return true;
      }
      if (inBar && barItem >= 0 && message == WM_LBUTTONDOWN) OpenBarItem(top, barItem, false);
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (level >= 0) Choose(level, item);
      return true;
    default:
      return open || inBar;
    }
  }

  // Keys for TOP: Alt alone opens its menu bar; while a menu is open the
  // arrows move in it, Enter chooses and Escape closes. True when the
  // menus took the key.
  bool MenuKey(HWND top, int vk, bool down) {
    if (vk == kVkMenu) {
      if (down) {
        altAlone_ = true;
        return false;
      }
      bool alone = altAlone_;
      altAlone_ = false;
      if (!alone) return false;
      if (menus_.top == top) {
        CloseMenus(true);
        return true;
      }
      if (HMENU bar = GetMenu(top)) {
        std::vector<MenuItemView> items = MenuItems(bar);
        for (size_t i = 0; i < items.size(); ++i)
          if (!items[i].separator && !items[i].grayed && items[i].subMenu) {
            OpenBarItem(top, static_cast<int>(i), true);
            return true;
          }
      }
      return false;
    }
    if (down) altAlone_ = false;
    if (menus_.top != top || menus_.levels.empty()) return false;
    if (!down) return true;
    const size_t deepest = menus_.levels.size() - 1;
    MenuLevel &l = menus_.levels[deepest];
    switch (vk) {
    case VK_ESCAPE:
      if (deepest > 0) {
        menus_.levels.pop_back();
        PresentMenus();
      } else {
        CloseMenus(true);
      }
      break;
    case VK_UP:
      MoveHot(deepest, -1);
      break;
    case VK_DOWN:
      MoveHot(deepest, 1);
      break;
    case VK_RIGHT: {
      std::vector<MenuItemView> items = MenuItems(l.menu);
      if (l.hot >= 0 && l.hot < static_cast<int>(items.size()) && items[l.hot].subMenu)
        OpenSubmenu(deepest, l.hot, true);
      else if (!menus_.popup)
        StepBar(top, 1);
      break;
    }
    case VK_LEFT:
      if (deepest > 0) {
        menus_.levels.pop_back();
        PresentMenus();
      } else if (!menus_.popup) {
        StepBar(top, -1);
      }
      break;
    case VK_RETURN:
      Choose(deepest, l.hot);
      break;
    default:
      break;
    }
    return true;
  }

  // Opens the next (STEP 1) or previous (-1) bar item that has a drop-down.
  void StepBar(HWND top, int step) {
    std::vector<MenuItemView> items = MenuItems(GetMenu(top));
    const int n = static_cast<int>(items.size());
    int at = menus_.barItem;
    for (int i = 0; i < n; ++i) {
      at = ((at + step) % n + n) % n;
      if (!items[at].separator && !items[at].grayed && items[at].subMenu) {
        OpenBarItem(top, at, true);
        return;
      }
    }
  }

  // ---- Dialogs ----

  void OpenDialog(const std::shared_ptr<Dialog> &d, HWND owner, const ModalDialogFactory &make,
                  int answer) {
    d->owner = owner ? TopLevelOf(owner) : 0;
    d->fallback = answer;
    d->box = make(dialogText_, screenW_, screenH_);
    if (!d->box || d->box->Width() <= 0 || d->box->Height() <= 0) {
      FinishDialog(*d, answer);
      return;
    }
    int w = d->box->Width(), h = d->box->Height();
    // Centred on its owner when there is one, else on the screen.
    int x = (screenW_ - w) / 2, y = (screenH_ - h) / 2;
    if (Top *o = FindTop(d->owner)) {
      int ox, oy, ow, oh;
      SDL_GetWindowPosition(o->window, &ox, &oy);
      SDL_GetWindowSize(o->window, &ow, &oh);
      x = ox + (ow - w) / 2;
      y = oy + (oh - h) / 2;
    }
    x = std::clamp(x, 0, std::max(0, screenW_ - w));
    y = std::clamp(y, 0, std::max(0, screenH_ - h));
    d->title = cp932::ToUtf8(d->box->Caption());
    d->window = SDL_CreateWindow(d->title.c_str(), x, y, w, h,
                                 SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN |
                                     SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_ALLOW_HIGHDPI);
    if (d->window) {
      Uint32 flags = std::getenv("SDL_RENDER_DRIVER") ? 0 : SDL_RENDERER_SOFTWARE;
      d->renderer = SDL_CreateRenderer(d->window, -1, flags);
      if (!d->renderer) d->renderer = SDL_CreateRenderer(d->window, -1, 0);
    }
    if (d->renderer)
      d->texture =
          SDL_CreateTexture(d->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, w, h);
    if (!d->window || !d->renderer || !d->texture) {
      FinishDialog(*d, answer); // no box can be shown: the default answer
      return;
    }
    SDL_SetWindowHitTest(d->window, &SdlDisplay::DialogHitTest, d.get());
    d->pixels.assign(static_cast<size_t>(w) * h, 0);
    dialogIds_[SDL_GetWindowID(d->window)] = d.get();
    dialogs_.push_back(d);
    SDL_RaiseWindow(d->window);
    SDL_SetWindowInputFocus(d->window);
    DrawDialog(*d);
  }

  static SDL_HitTestResult DialogHitTest(SDL_Window *, const SDL_Point *p, void *data) {
    auto *d = static_cast<Dialog *>(data);
    return d->box && d->box->InCaption(p->x, p->y) ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
  }

  void DrawDialog(Dialog &d) {
    if (d.answered || !d.texture || !d.box->TakeChanged()) return;
    int w = d.box->Width(), h = d.box->Height();
    d.box->Paint(PixelView{d.pixels.data(), w, h, w});
    SDL_UpdateTexture(d.texture, nullptr, d.pixels.data(), w * 4);
    SDL_RenderClear(d.renderer);
    SDL_RenderCopy(d.renderer, d.texture, nullptr, nullptr);
    SDL_RenderPresent(d.renderer);
  }

  void FinishDialog(Dialog &d, int answer) {
    if (d.answered) return;
    d.answered = true;
    if (d.window) dialogIds_.erase(SDL_GetWindowID(d.window));
    if (d.texture) SDL_DestroyTexture(d.texture);
    if (d.renderer) SDL_DestroyRenderer(d.renderer);
    if (d.window) SDL_DestroyWindow(d.window);
    d.texture = nullptr, d.renderer = nullptr, d.window = nullptr;
    d.answer.set_value(answer);
    HWND owner = d.owner;
    std::erase_if(dialogs_, [&d](const std::shared_ptr<Dialog> &p) { return p.get() == &d; });
    if (Top *o = FindTop(owner)) SDL_RaiseWindow(o->window);
  }

  Dialog *DialogOf(Uint32 windowId) {
    auto it = dialogIds_.find(windowId);
    return it == dialogIds_.end() ? nullptr : it->second;
  }

  // True while a message box is modal to the top-level window HWND.
  bool Blocked(HWND hwnd) {
    for (auto &d : dialogs_)
      if (!d->answered && d->owner != 0 && d->owner == hwnd) return true;
    return false;
  }

  void DialogEvent(Dialog &d, const SDL_Event &e) {
    int chosen = 0;
    switch (e.type) {
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) chosen = d.box->Close();
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
        SDL_RenderPresent(d.renderer);
      }
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED && !d.answered) ReportFocus(d.title);
      break;
    case SDL_KEYDOWN: {
      const SDL_Keysym &k = e.key.keysym;
      if (k.sym == SDLK_F4 && (k.mod & KMOD_ALT)) {
        chosen = d.box->Close();
        break;
      }
      int vk = sdl::VirtualKeyOf(k);
      chosen = d.box->KeyDown(vk, (k.mod & KMOD_SHIFT) != 0);
      if (!chosen && vk >= 'A' && vk <= 'Z' && !(k.mod & (KMOD_CTRL | KMOD_GUI)))
        chosen = d.box->Character(vk);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT)
        chosen = e.button.clicks >= 2 ? d.box->MouseDoubleClick(e.button.x, e.button.y)
                                      : d.box->MouseDown(e.button.x, e.button.y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) chosen = d.box->MouseUp(e.button.x, e.button.y);
      break;
    case SDL_MOUSEMOTION:
      d.box->MouseMove(e.motion.x, e.motion.y);
      break;
    default:
      break;
    }
    if (chosen) {
      FinishDialog(d, chosen);
    } else {
      DrawDialog(d);
    }
  }

  // With QUILLRUNNER_FOCUS_LOG set, a line on stderr says which window or
  // dialog (by its title) has just got the keyboard: keys typed from then on
  // reach it. A dialog is drawn before it can get the keyboard. Tests wait
  // for these lines instead of guessing how long a window takes to appear.
  static void ReportFocus(const std::string &title) {
    static const bool enabled = std::getenv("QUILLRUNNER_FOCUS_LOG") != nullptr;
    if (!enabled) return;
    std::fprintf(stderr, "focus: %s\n", title.c_str());
    std::fflush(stderr);
  }

  // A key pressed while the keyboard is still with a window that a dialog
  // is modal to belongs to the dialog (the window manager may not yet have
  // moved the focus, or may refuse to).
  void ForwardKeyToDialog(HWND hwnd, const SDL_Event &e) {
    if (e.type != SDL_KEYDOWN) return;
    for (auto &d : dialogs_)
      if (!d->answered && d->owner != 0 && d->owner == hwnd) {
        std::shared_ptr<Dialog> keep = d;
        DialogEvent(*keep, e);
        return;
      }
  }

  // ---- Events ----

  HWND WindowOf(Uint32 windowId) {
    auto it = windowIds_.find(windowId);
    return it == windowIds_.end() ? 0 : it->second;
  }

  static Uint32 EventWindowId(const SDL_Event &e) {
    switch (e.type) {
    case SDL_WINDOWEVENT:
      return e.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return e.key.windowID;
    case SDL_TEXTINPUT:
      return e.text.windowID;
    case SDL_TEXTEDITING:
      return e.edit.windowID;
    case SDL_MOUSEMOTION:
      return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return e.button.windowID;
    default:
      return 0;
    }
  }

  void Handle(const SDL_Event &e) {
    if (e.type == wakeEvent_) return; // the queue runs in the loop
    Uint32 id = EventWindowId(e);
    if (Dialog *d = DialogOf(id)) {
      DialogEvent(*d, e);
      return;
    }
    HWND hwnd = WindowOf(id);
    if (!hwnd) return;
    switch (e.type) {
    case SDL_WINDOWEVENT:
      WindowEvent(hwnd, e.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      Key(hwnd, e.key);
      ForwardKeyToDialog(hwnd, e);
      break;
    case SDL_TEXTINPUT:
      Text(hwnd, e.text.text);
      break;
    case SDL_TEXTEDITING:
      Editing(hwnd, e.edit.text);
      break;
    case SDL_MOUSEMOTION:
      Mouse(hwnd, WM_MOUSEMOVE, e.motion.x, e.motion.y, 0);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      MouseButton(hwnd, e.button);
      break;
    default:
      break;
    }
  }

  RECT ScreenRect(SDL_Window *window) {
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    return RECT{x, y, x + w, y + h};
  }

  void WindowEvent(HWND hwnd, const SDL_WindowEvent &e) {
    Top *t = FindTop(hwnd);
    if (!t) return;
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
      if (Blocked(hwnd)) {
        RaiseDialogOf(hwnd);
      } else {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
      }
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      t->present = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      if (t->minimized) break;
      RECT r = ScreenRect(t->window);
      if (Node *n = NodeOf(hwnd)) n->rect = r;
      user::SystemMovedWindow(hwnd, r, t->maximized ? kSizeMaximized : kSizeRestored);
      t->present = true;
      break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
      t->minimized = true;
      // The window keeps its size and picture while it is an icon.
      PostMessageA(hwnd, WM_SIZE, kSizeMinimized, 0);
      break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      t->maximized = true;
      t->minimized = false;
      break;
    case SDL_WINDOWEVENT_RESTORED: {
      bool wasMinimized = t->minimized;
      t->minimized = false;
      t->maximized = false;
      t->present = true;
      RECT r = ScreenRect(t->window);
      if (Node *n = NodeOf(hwnd)) n->rect = r;
      user::SystemMovedWindow(hwnd, r, kSizeRestored);
      if (wasMinimized) {
        auto w = static_cast<uint32_t>(r.right - r.left) & 0xFFFF;
        auto h = static_cast<uint32_t>(r.bottom - r.top) & 0xFFFF;
        PostMessageA(hwnd, WM_SIZE, kSizeRestored, static_cast<LPARAM>(w | h << 16));
      }
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
    }
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      if (Blocked(hwnd)) {
        RaiseDialogOf(hwnd);
        break;
      }
      user::SystemFocusChanged(hwnd, true);
      if (Node *n = NodeOf(hwnd)) ReportFocus(n->title);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      ReleaseKeys(hwnd);
      altAlone_ = false;
      if (menus_.top == hwnd && !menus_.popup) CloseMenus(true);
      t->composition.clear();
      user::SystemFocusChanged(hwnd, false);
      break;
    default:
      break;
    }
  }

  Node *NodeOf(HWND hwnd) {
    auto it = nodes_.find(hwnd);
    return it == nodes_.end() ? nullptr : &it->second;
  }

  void RaiseDialogOf(HWND hwnd) {
    for (auto &d : dialogs_)
      if (d->owner == hwnd && d->window) {
        SDL_RaiseWindow(d->window);
        SDL_SetWindowInputFocus(d->window);
        return;
      }
  }

  // Keys held down when the focus goes are released: their key-up would go
  // to another program.
  void ReleaseKeys(HWND hwnd) {
    auto it = heldKeys_.find(hwnd);
    if (it == heldKeys_.end()) return;
    for (int vk : it->second) SetKeyDown(vk, false);
    heldKeys_.erase(it);
  }

  void Key(HWND hwnd, const SDL_KeyboardEvent &e) {
    bool down = e.type == SDL_KEYDOWN;
    int vk = sdl::VirtualKeyOf(e.keysym);
    if (vk) {
      SetKeyDown(vk, down);
      int generic = sdl::GenericModifierOf(vk);
      if (generic) SetKeyDown(generic, down);
      if (down) {
        heldKeys_[hwnd].insert(vk);
        if (generic) heldKeys_[hwnd].insert(generic);
      } else {
        heldKeys_[hwnd].erase(vk);
        if (generic) heldKeys_[hwnd].erase(generic);
      }
    }
    if (Blocked(hwnd)) return;
    // Messages carry the generic modifier key, as Windows' do.
    int messageKey = sdl::GenericModifierOf(vk) ? sdl::GenericModifierOf(vk) : vk;
    if (MenuKey(hwnd, messageKey, down)) return;
    if (messageKey) {
      uint32_t lp = 1;
      if (e.repeat || !down) lp |= 1u << 30;
      if (!down) lp |= 1u << 31;
      PostMessageA(hwnd, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(messageKey),
                   static_cast<LPARAM>(lp));
    }
    if (down) {
      if (int c = sdl::ControlCharacterOf(e.keysym)) PostMessageA(hwnd, WM_CHAR, c, 1);
    }
  }

  void Text(HWND hwnd, const char *text) {
    if (Top *t = FindTop(hwnd)) {
      if (!t->composition.empty()) t->present = true;
      t->composition.clear();
    }
    if (Blocked(hwnd)) return;
    if (menus_.top == hwnd) return; // keys steer the open menu
    // Alt with a letter is a menu key on Windows, not a character.
    SDL_Keymod mod = SDL_GetModState();
    if ((mod & KMOD_ALT) && !(mod & KMOD_MODE) && !(mod & KMOD_CTRL)) return;
    for (WPARAM c : CharMessagesFromUtf8(text)) PostMessageA(hwnd, WM_CHAR, c, 1);
  }

  void Editing(HWND hwnd, const char *text) {
    Top *t = FindTop(hwnd);
    if (!t || Blocked(hwnd)) return;
    t->composition = text ? text : "";
    t->present = true;
    // The input method's own window follows the composition point.
    CompositionState c = Composition(hwnd);
    if (c.placed) {
      SDL_Rect r{c.point.x, c.point.y, 1, 16};
      SDL_SetTextInputRect(&r);
    }
  }

  // The MK_ flags of a mouse message: the buttons as this event leaves
  // them (SDL's own state may already be ahead of the event being handled).
  WPARAM MouseKeys() {
    SDL_Keymod mod = SDL_GetModState();
    WPARAM mk = buttons_;
    if (mod & KMOD_SHIFT) mk |= kMkShift;
    if (mod & KMOD_CTRL) mk |= kMkControl;
    return mk;
  }

  // The deepest visible window under (X, Y) of top-level HWND, and the
  // point in its client coordinates.
  HWND HitTest(HWND hwnd, int &x, int &y) {
    for (int depth = 0; depth < 4096; ++depth) {
      Node *n = NodeOf(hwnd);
      if (!n) return hwnd;
      HWND found = 0;
      for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) {
        Node *c = NodeOf(*it);
        if (!c || !c->visible) continue;
        if (x >= c->rect.left && x < c->rect.right && y >= c->rect.top && y < c->rect.bottom) {
          found = *it;
          x -= c->rect.left;
          y -= c->rect.top;
          break;
        }
      }
      if (!found) return hwnd;
      hwnd = found;
    }
    return hwnd;
  }

  void Mouse(HWND top, UINT message, int x, int y, WPARAM extra) {
    if (Blocked(top)) return;
    if (MenuMouse(top, message, x, y)) return;
    y -= BarHeight(top);
    if (y < 0) return; // on the menu bar, not in the client area
    HWND target = HitTest(top, x, y);
    PostMessageA(target, message, MouseKeys() | extra, MAKELPARAM(x, y));
  }

  void MouseButton(HWND top, const SDL_MouseButtonEvent &e) {
    bool down = e.type == SDL_MOUSEBUTTONDOWN;
    UINT message;
    int vk;
    switch (e.button) {
    case SDL_BUTTON_LEFT:
      message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      vk = kVkLButton;
      break;
    case SDL_BUTTON_RIGHT:
      message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
      vk = kVkRButton;
      break;
    case SDL_BUTTON_MIDDLE:
      message = down ? kWmMButtonDown : kWmMButtonUp;
      vk = kVkMButton;
      break;
    default:
      return;
    }
    SetKeyDown(vk, down);
    WPARAM flag = vk == kVkLButton ? MK_LBUTTON : vk == kVkRButton ? MK_RBUTTON : kMkMButton;
    if (down) {
      buttons_ |= flag;
    } else {
      buttons_ &= ~flag;
    }
    if (Blocked(top)) {
      if (down) RaiseDialogOf(top);
      return;
    }
    // Every press is a button-down message (no double-click messages), so
    // a mouse trap sees each click.
    Mouse(top, message, e.x, e.y, 0);
  }

  std::thread thread_;
  std::atomic<std::thread::id> uiThread_{};
  std::mutex mutex_;
  std::vector<std::function<void()>> work_;
  std::condition_variable wakeCv_; // with mutex_: work was queued
  bool stopping_ = false;
  bool finished_ = false;
  Uint32 wakeEvent_ = 0;
  int screenW_ = 1024, screenH_ = 768;

  // UI thread only.
  std::map<HWND, Node> nodes_;
  std::map<HWND, Top> tops_;
  std::map<Uint32, HWND> windowIds_;
  std::map<Uint32, Dialog *> dialogIds_;
  std::vector<std::shared_ptr<Dialog>> dialogs_;
  std::map<HWND, std::set<int>> heldKeys_;
  std::shared_ptr<const DialogText> dialogText_;
  CaretState caret_;
  HWND caretTop_ = 0;
  WPARAM buttons_ = 0; // MK_ flags of the mouse buttons held
  OpenMenus menus_;
  bool altAlone_ = false; // Alt is down and no other key came since
  Uint32 blinkStart_ = 0;
  bool blinkOn_ = true;
};

SdlDisplay *running = nullptr;

void StopAtExit() {
  if (running) running->Stop();
}

} // namespace

std::unique_ptr<DisplayDriver> MakeSdlDisplay(std::string &error) {
  auto d = std::make_unique<SdlDisplay>();
  if (!d->Start(error)) return nullptr;
  if (!running) {
    running = d.get();
    std::atexit(StopAtExit);
  }
  return d;
}

} // namespace platform
