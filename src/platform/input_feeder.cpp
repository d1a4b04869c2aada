#include "platform/input_feeder.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/cp932.h"
#include "platform/event_script.h"
#include "platform/platform.h"
#include "platform/winuser_input.h"
#include "platform/winuser_menu.h"
#include "platform/winuser_window.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPoll = std::chrono::milliseconds(5);
constexpr size_t kMaxScriptBytes = 16 << 20;

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_CHAR;
}

class Feeder {
public:
  Feeder(HWND target, InputFeederHooks hooks, std::vector<ScriptEvent> events, bool stdinKeys,
         bool raw)
      : target_(target), hooks_(std::move(hooks)), events_(std::move(events)),
        stdinKeys_(stdinKeys), raw_(raw) {}

  void Run() {
    // Pop-up menus wait for a scripted choice while the script runs.
    for (const ScriptEvent &e : events_)
      if (!Do(e)) {
        SetPopupChoicesPossible(false);
        return;
      }
    SetPopupChoicesPossible(false);
    if (stdinKeys_ && !TypeStdin()) return;
    Finish();
  }

  void Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    cv_.notify_all();
  }

  void Notify() {
    std::lock_guard<std::mutex> lock(mutex_);
    cv_.notify_all();
  }

  uint64_t Request() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++requested_;
    cv_.notify_all();
    return requested_;
  }

  bool Answered(uint64_t ticket) {
    std::lock_guard<std::mutex> lock(mutex_);
    return stop_ || answered_ >= ticket;
  }

  PrintSetupAnswer NextPrintSetupAnswer() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (printSetupAnswers_.empty()) return {};
    PrintSetupAnswer a = printSetupAnswers_.front();
    printSetupAnswers_.pop_front();
    return a;
  }

  int NextAnswer() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (answers_.empty()) return 0;
    int a = answers_.front();
    answers_.pop_front();
    return a;
  }

private:
  // Waits until DONE() holds (true), DEADLINE passes (true) or the feeder
  // stops (false). With ANSWER, key requests are answered meanwhile: no key
  // is ready for them. DONE runs without the feeder's mutex, so that it may
  // ask the window manager, which calls into the feeder with its own lock
  // held; DONE takes the mutex itself for the feeder's counts. A change it
  // misses while unlocked is seen at the next poll.
  template <typename Done> bool WaitFor(Done done, Clock::time_point deadline, bool answer) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (stop_) return false;
      lock.unlock();
      bool met = done();
      lock.lock();
      if (met) return true;
      if (answer && requested_ > answered_) {
        answered_ = requested_;
        lock.unlock();
        hooks_.wake();
        lock.lock();
        continue;
      }
      auto now = Clock::now();
      if (now >= deadline) return true;
      cv_.wait_until(lock, std::min(deadline, now + kPoll));
    }
  }

  // Every key posted so far was handled (mutex held).
  bool AllHandled(const InputDemand &d) const { return d.handled >= posted_; }
  // A line is being typed, or a key function waits and took the last key.
  static bool Wants(const InputDemand &d) {
    return d.line || (d.keys && d.lastKey == 0) || d.messages;
  }

  static bool GiveUp(void *self) {
    auto *f = static_cast<Feeder *>(self);
    if (f->hooks_.alive && !f->hooks_.alive()) return true;
    std::lock_guard<std::mutex> lock(f->mutex_);
    return f->stop_;
  }

  // Sends one message to a window of the program and waits until its
  // thread has handled it; false when the feeder stopped or the program
  // ended meanwhile.
  bool SendAwaited(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    bool aborted = false;
    SendMessageAbortable(hwnd, msg, wParam, lParam, &Feeder::GiveUp, this, &aborted);
    return !aborted;
  }

  // Keys for a focused control or user window go to it directly.
  bool DeliverKey(const ScriptEvent &e) {
    HWND to = hooks_.keyTarget ? hooks_.keyTarget() : 0;
    if (!to || !e.paced) return e.paced ? DeliverPaced(e) : Post(e);
    for (const InputMessage &m : e.messages) {
      if (m.message == WM_KEYDOWN) SetKeyDown(static_cast<int>(m.wParam), true);
      if (m.message == WM_KEYUP) SetKeyDown(static_cast<int>(m.wParam), false);
      if (!SendAwaited(to, m.message, m.wParam, m.lParam)) return false;
    }
    return true;
  }

  // Waits (up to 10 seconds) until FIND gives a window; 0 when none came.
  template <typename Find> HWND WaitForWindow(Find find) {
    auto deadline = Clock::now() + std::chrono::seconds(10);
    HWND found = 0;
    WaitFor([&] { return (found = find()) != 0; }, deadline, true);
    return found;
  }

  // The window an event names: in the foreground window first, then in
  // every top-level window.
  static HWND FindTarget(const ScriptEvent &e) {
    HWND fg = GetForegroundWindow();
    if (HWND h = FindWindowIn(fg, e.byId, e.id, e.target)) return h;
    for (HWND top : TopLevelWindows())
      if (HWND h = FindWindowIn(top, e.byId, e.id, e.target)) return h;
    return 0;
  }

  static std::string Describe(const ScriptEvent &e) {
    return e.byId ? std::to_string(e.id) : cp932::ToUtf8(e.target);
  }

  // A left click at client point (x, y) of HWND.
  bool ClickAt(HWND hwnd, int x, int y) {
    LPARAM lp = MAKELPARAM(x, y);
    return SendAwaited(hwnd, WM_MOUSEMOVE, 0, lp) &&
           SendAwaited(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, lp) &&
           SendAwaited(hwnd, WM_LBUTTONUP, 0, lp);
  }

  bool DoMenu(const ScriptEvent &e) {
    auto id = static_cast<UINT>(e.number);
    HWND owner = 0;
    bool chosen = false;
    auto deadline = Clock::now() + std::chrono::seconds(10);
    bool ok = WaitFor(
        [&] {
          if (TrackedPopup(nullptr)) return chosen = ChooseTrackedItem(id);
          HWND fg = GetForegroundWindow();
          if (fg && MenuHasEnabledItem(GetMenu(fg), id)) {
            owner = fg;
            return true;
          }
          return false;
        },
        deadline, true);
    if (!ok) return false;
    if (chosen) return true;
    if (!owner) {
      std::fprintf(stderr, "QUILLRUNNER_EVENTS: menu %d: no such item to choose\n", e.number);
      return true;
    }
    return SendAwaited(owner, WM_COMMAND, id & 0xFFFF, 0);
  }

  bool DoClose(const ScriptEvent &e) {
    HWND hwnd = 0;
    if (e.target.empty()) {
      hwnd = GetForegroundWindow();
    } else {
      for (HWND top : TopLevelWindows())
        if (FindWindowIn(top, false, 0, e.target) == top) {
          hwnd = top;
          break;
        }
    }
    if (!hwnd) {
      std::fprintf(stderr, "QUILLRUNNER_EVENTS: close %s: no such window\n",
                   cp932::ToUtf8(e.target).c_str());
      return true;
    }
    // The main window's close ends the program, which waits for the BASIC
    // threads: that one is posted.
    if (hwnd == target_) return PostMessageA(hwnd, WM_CLOSE, 0, 0) != 0;
    return SendAwaited(hwnd, WM_CLOSE, 0, 0);
  }

  bool DoClick(const ScriptEvent &e) {
    HWND hwnd = WaitForWindow([&] { return FindTarget(e); });
    if (!hwnd) {
      std::fprintf(stderr, "QUILLRUNNER_EVENTS: %s %s: no such window\n",
                   e.kind == ScriptEvent::Kind::kPickItem ? "pick" : "click", Describe(e).c_str());
      return true;
    }
    if (e.kind == ScriptEvent::Kind::kClickWindow) {
      RECT r;
      GetClientRect(hwnd, &r);
      return ClickAt(hwnd, r.right / 2, r.bottom / 2);
    }
    RECT item;
    LentBuffer lent(&item, sizeof item);
    bool aborted = false;
    LRESULT got =
        SendMessageAbortable(hwnd, 0x0198 /* LB_GETITEMRECT */, static_cast<WPARAM>(e.number),
                             lent.Number(), &Feeder::GiveUp, this, &aborted);
    if (aborted) return false;
    if (got != 0) {
      std::fprintf(stderr, "QUILLRUNNER_EVENTS: pick %s %d: no such item\n", Describe(e).c_str(),
                   e.number);
      return true;
    }
    // A closed drop-down list opens first.
    if (ClassNameOf(hwnd) == "COMBOBOX" &&
        !SendMessageAbortable(hwnd, 0x0157 /* CB_GETDROPPEDSTATE */, 0, 0, &Feeder::GiveUp, this,
                              &aborted)) {
      if (aborted || !ClickAt(hwnd, 1, 1)) return false;
    }
    return ClickAt(hwnd, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
  }

  // Posts the messages of one event to TO (0: the target window); false
  // when the window is gone.
  bool Post(const ScriptEvent &e, HWND to = 0) {
    if (!to) to = target_;
    for (const InputMessage &m : e.messages) {
      if (!PostMessageA(to, m.message, m.wParam, m.lParam)) return false;
      if (IsKeyMessage(m.message)) {
        std::lock_guard<std::mutex> lock(mutex_);
        ++posted_;
      }
    }
    return true;
  }

  // One key, offered when the program wants it and took the last one.
  bool DeliverPaced(const ScriptEvent &e) {
    uint64_t served = 0;
    bool ok = WaitFor(
        [&] {
          InputDemand d = hooks_.demand();
          std::lock_guard<std::mutex> lock(mutex_);
          if (!AllHandled(d)) return false;
          if (Wants(d)) return true;
          if (requested_ > answered_) {
            // An unread key is still in the buffer: the asker gets that one.
            if (d.lastKey != 0) {
              answered_ = requested_;
              return false;
            }
            served = requested_;
            return true;
          }
          return false;
        },
        Clock::time_point::max(), false);
    HWND to = hooks_.lineTarget ? hooks_.lineTarget() : 0;
    if (to && !IsWindow(to)) to = 0;
    if (!ok || !Post(e, to)) return false;
    if (served) {
      if (!WaitFor(
              [&] {
                InputDemand d = hooks_.demand();
                std::lock_guard<std::mutex> lock(mutex_);
                return AllHandled(d);
              },
              Clock::time_point::max(), false))
        return false;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (answered_ < served) answered_ = served;
      }
      hooks_.wake();
    }
    return true;
  }

  bool Do(const ScriptEvent &e) {
    switch (e.kind) {
    case ScriptEvent::Kind::kKey:
      return DeliverKey(e);
    case ScriptEvent::Kind::kMenu:
      return DoMenu(e);
    case ScriptEvent::Kind::kClose:
      return DoClose(e);
    case ScriptEvent::Kind::kClickWindow:
    case ScriptEvent::Kind::kPickItem:
      return DoClick(e);
    case ScriptEvent::Kind::kKeyState:
      SetKeyDown(e.virtualKey, e.down);
      return Post(e);
    case ScriptEvent::Kind::kMouse:
      return Post(e);
    case ScriptEvent::Kind::kAnswer: {
      std::lock_guard<std::mutex> lock(mutex_);
      answers_.push_back(e.answer);
      return true;
    }
    case ScriptEvent::Kind::kPrintSetup: {
      std::lock_guard<std::mutex> lock(mutex_);
      printSetupAnswers_.push_back({e.cancel, e.printer});
      return true;
    }
    case ScriptEvent::Kind::kWaitTime:
      return WaitFor([] { return false; }, Clock::now() + std::chrono::milliseconds(e.milliseconds),
                     true);
    case ScriptEvent::Kind::kWaitInput:
      return WaitFor(
          [&] {
            InputDemand d = hooks_.demand();
            std::lock_guard<std::mutex> lock(mutex_);
            return AllHandled(d) && (Wants(d) || requested_ > answered_);
          },
          Clock::time_point::max(), false);
    }
    return true;
  }

  // Types the bytes of stdin; false when the feeder stopped.
  bool TypeStdin() {
    KeyDecoder decoder(raw_);
    std::vector<ScriptEvent> keys;
    bool lineOpen = false;
    char buffer[4096];
    auto deliver = [&]() {
      for (const ScriptEvent &k : keys) {
        if (!DeliverKey(k)) return false;
        lineOpen = !k.endsLine;
      }
      keys.clear();
      return true;
    };
    for (;;) {
      pollfd p{};
      p.fd = 0;
      p.events = POLLIN;
      int r = poll(&p, 1, static_cast<int>(kPoll.count()));
      if (r < 0 && errno == EINTR) continue;
      if (r == 0) {
        // Nothing typed yet: a key request gets no key.
        std::unique_lock<std::mutex> lock(mutex_);
        if (stop_) return false;
        if (requested_ > answered_) {
          answered_ = requested_;
          lock.unlock();
          hooks_.wake();
        }
        continue;
      }
      if (r < 0 || (p.revents & POLLNVAL)) break;
      ssize_t n = read(0, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      for (ssize_t i = 0; i < n; ++i) decoder.Push(static_cast<uint8_t>(buffer[i]), keys);
      if (!deliver()) return false;
    }
    decoder.Finish(keys);
    if (!deliver()) return false;
    lineOpen_ = lineOpen;
    return true;
  }

  // Everything is typed: a program that waits for a line or for keys now
  // would wait for ever, so its window is closed.
  void Finish() {
    InputDemand d;
    bool ok = WaitFor(
        [&] {
          d = hooks_.demand();
          std::lock_guard<std::mutex> lock(mutex_);
          return AllHandled(d) && Wants(d);
        },
        Clock::time_point::max(), true);
    if (!ok) return;
    // A last line of stdin without its line end is still entered.
    if (d.line && lineOpen_) {
      lineOpen_ = false;
      if (!DeliverPaced(NamedKey(VK_RETURN))) return;
      Finish();
      return;
    }
    PostMessageA(target_, WM_CLOSE, 0, 0);
    WaitFor([] { return false; }, Clock::time_point::max(), true);
  }

  const HWND target_;
  const InputFeederHooks hooks_;
  const std::vector<ScriptEvent> events_;
  const bool stdinKeys_;
  const bool raw_;

  std::mutex mutex_;
  std::condition_variable cv_;
  bool stop_ = false;
  bool lineOpen_ = false;  // stdin's last line has no line end (feeder thread only)
  uint64_t posted_ = 0;    // key messages posted
  uint64_t requested_ = 0; // key requests made
  uint64_t answered_ = 0;  // key requests answered (in order)
  std::deque<int> answers_;
  std::deque<PrintSetupAnswer> printSetupAnswers_;
};

struct Global {
  std::mutex mutex;
  std::shared_ptr<Feeder> feeder;
  std::thread thread;
};

Global &G() {
  static auto *g = new Global; // never destroyed: threads may outlive main
  return *g;
}

std::shared_ptr<Feeder> Current() {
  std::lock_guard<std::mutex> lock(G().mutex);
  return G().feeder;
}

// The events file's events; problems are reported on stderr.
std::vector<ScriptEvent> ReadEventsFile() {
  const char *path = std::getenv("QUILLRUNNER_EVENTS");
  if (!path || !*path) return {};
  std::FILE *f = std::fopen(path, "rb");
  if (!f) {
    std::fprintf(stderr, "QUILLRUNNER_EVENTS: cannot read %s\n", path);
    return {};
  }
  std::string text;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && text.size() < kMaxScriptBytes)
    text.append(chunk, n);
  std::fclose(f);
  std::vector<std::string> errors;
  std::vector<ScriptEvent> events = ParseEventScript(text, errors);
  for (const std::string &e : errors) std::fprintf(stderr, "QUILLRUNNER_EVENTS: %s\n", e.c_str());
  return events;
}

bool RawCp932() {
  const char *enc = std::getenv("QUILLRUNNER_ENCODING");
  return enc && std::strcmp(enc, "cp932") == 0;
}

} // namespace

void StartInputFeeder(HWND target, InputFeederHooks hooks, bool stdinKeys) {
  if (!IsHeadless() || !hooks.demand || !hooks.wake) return;
  StopInputFeeder();
  std::vector<ScriptEvent> events = ReadEventsFile();
  SetPopupChoicesPossible(!events.empty());
  auto feeder =
      std::make_shared<Feeder>(target, std::move(hooks), std::move(events), stdinKeys, RawCp932());
  std::weak_ptr<Feeder> weak = feeder;
  SetMessageBoxAnswerProvider([weak](const std::string &, const std::string &, unsigned) {
    auto f = weak.lock();
    return f ? f->NextAnswer() : 0;
  });
  SetPrintSetupAnswerProvider([weak] {
    auto f = weak.lock();
    return f ? f->NextPrintSetupAnswer() : PrintSetupAnswer{};
  });
  Global &g = G();
  std::lock_guard<std::mutex> lock(g.mutex);
  g.feeder = feeder;
  g.thread = std::thread([feeder] { feeder->Run(); });
}

void StopInputFeeder() {
  Global &g = G();
  std::shared_ptr<Feeder> feeder;
  std::thread thread;
  {
    std::lock_guard<std::mutex> lock(g.mutex);
    feeder = std::move(g.feeder);
    g.feeder.reset();
    thread = std::move(g.thread);
  }
  if (!feeder) return;
  SetMessageBoxAnswerProvider({});
  SetPrintSetupAnswerProvider({});
  feeder->Stop();
  if (thread.joinable()) thread.join();
}

void NotifyInputFeeder() {
  if (auto f = Current()) f->Notify();
}

uint64_t RequestFedKey() {
  auto f = Current();
  return f ? f->Request() : 0;
}

bool FedKeyRequestAnswered(uint64_t ticket) {
  if (ticket == 0) return true;
  auto f = Current();
  return !f || f->Answered(ticket);
}

} // namespace platform
