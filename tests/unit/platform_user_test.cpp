// The window manager: classes and windows, posted and sent messages across
// threads, WM_QUIT and WM_PAINT generation, the abort check, message boxes.
#include "platform/platform.h"
#include "platform/win32.h"
#include "platform/winuser_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr UINT kDouble = WM_USER + 1;     // answers wParam * 2
constexpr UINT kRelay = WM_USER + 2;      // sends kDouble to gRelayTarget, answers it + 1
constexpr UINT kThreadOf = WM_USER + 3;   // answers the thread that runs the procedure
constexpr UINT kDestroyKid = WM_USER + 4; // destroys gKid from inside a procedure

struct Entry {
  HWND hwnd;
  UINT message;
  DWORD thread;
};

std::mutex gLogMutex;
std::vector<Entry> gLog;
std::atomic<bool> gValidatePaint{true};
std::atomic<bool> gFailCreate{false};
std::atomic<HWND> gRelayTarget{0};
std::atomic<bool> gAbort{false};

LRESULT TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard<std::mutex> lock(gLogMutex);
    gLog.push_back({hwnd, msg, GetCurrentThreadId()});
  }
  switch (msg) {
  case WM_CREATE:
    return gFailCreate ? -1 : 0;
  case WM_PAINT:
    if (!gValidatePaint) return 0;
    break;
  case kDouble:
    return static_cast<LRESULT>(wParam * 2);
  case kRelay:
    return SendMessageA(gRelayTarget, kDouble, wParam, 0) + 1;
  case kThreadOf:
    return static_cast<LRESULT>(GetCurrentThreadId());
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::vector<UINT> MessagesOf(HWND hwnd) {
  std::lock_guard<std::mutex> lock(gLogMutex);
  std::vector<UINT> out;
  for (auto &e : gLog)
    if (e.hwnd == hwnd) out.push_back(e.message);
  return out;
}

bool AbortRequested() {
  return gAbort.load();
}

class UserTest : public ::testing::Test {
protected:
  void SetUp() override {
    platform::ResetWindowManager();
    platform::SetWaitAbortCheck(nullptr);
    platform::SetMessageBoxAnswerProvider(nullptr);
    gAbort = false;
    gValidatePaint = true;
    gFailCreate = false;
    {
      std::lock_guard<std::mutex> lock(gLogMutex);
      gLog.clear();
    }
    WNDCLASSEXA wc;
    wc.cbSize = 48;
    wc.lpfnWndProc = TestProc;
    wc.lpszClassName = "TestClass";
    ASSERT_NE(RegisterClassExA(&wc), 0);
  }
  void TearDown() override {
    platform::SetWaitAbortCheck(nullptr);
    platform::ResetWindowManager();
  }

  static HWND Make(HWND parent = 0, DWORD style = 0) {
    return CreateWindowExA(0, "TestClass", "title", style | (parent ? WS_CHILD : 0), 0, 0, 100, 50,
                           parent, 0, 0, nullptr);
  }
};

// A thread that owns one window and pumps its messages until WM_QUIT.
class PumpThread {
public:
  PumpThread() {
    thread_ = std::thread([this] {
      HWND w = CreateWindowExA(0, "TestClass", "", 0, 0, 0, 10, 10, 0, 0, 0, nullptr);
      ready_.set_value({w, GetCurrentThreadId()});
      MSG msg;
      while (GetMessageA(&msg, 0, 0, 0) > 0) DispatchMessageA(&msg);
    });
    auto r = ready_.get_future().get();
    hwnd = r.first;
    thread = r.second;
  }
  ~PumpThread() {
    PostThreadMessageA(thread, WM_QUIT, 0, 0);
    thread_.join();
  }
  HWND hwnd = 0;
  DWORD thread = 0;

private:
  std::promise<std::pair<HWND, DWORD>> ready_;
  std::thread thread_;
};

TEST_F(UserTest, ClassRegistrationRules) {
  WNDCLASSEXA wc;
  wc.lpfnWndProc = TestProc;
  wc.lpszClassName = "testclass"; // names are compared without regard to case
  EXPECT_EQ(RegisterClassExA(&wc), 0);
  wc.lpszClassName = "Other";
  wc.lpfnWndProc = nullptr;
  EXPECT_EQ(RegisterClassExA(&wc), 0);
  EXPECT_EQ(RegisterClassExA(nullptr), 0);
  wc.lpfnWndProc = TestProc;
  ATOM a = RegisterClassExA(&wc);
  EXPECT_NE(a, 0);
  HWND w = CreateWindowExA(0, "OTHER", "", 0, 0, 0, 1, 1, 0, 0, 0, nullptr);
  ASSERT_NE(w, 0u);
  EXPECT_FALSE(UnregisterClassA("Other", 0)); // a window of it exists
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassA("Other", 0));
  EXPECT_EQ(CreateWindowExA(0, "Other", "", 0, 0, 0, 1, 1, 0, 0, 0, nullptr), 0u);
}

TEST_F(UserTest, CreationMessagesHandlesAndFailures) {
  HWND a = Make();
  ASSERT_NE(a, 0u);
  EXPECT_EQ(MessagesOf(a), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  EXPECT_TRUE(IsWindow(a));
  DWORD pid = 0;
  EXPECT_EQ(GetWindowThreadProcessId(a, &pid), GetCurrentThreadId());
  EXPECT_NE(pid, 0u);

  // A destroyed window's handle is not handed out again soon.
  DestroyWindow(a);
  std::vector<HWND> seen{a};
  for (int i = 0; i < 50; ++i) {
    HWND h = Make();
    for (HWND s : seen) EXPECT_NE(h, s);
    seen.push_back(h);
    DestroyWindow(h);
  }

  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, 0, 0, 0, nullptr), 0u);
  EXPECT_EQ(Make(0xDEAD0), 0u); // the parent is not a window

  gFailCreate = true;
  size_t before;
  {
    std::lock_guard<std::mutex> lock(gLogMutex);
    before = gLog.size();
  }
  EXPECT_EQ(Make(), 0u);
  std::lock_guard<std::mutex> lock(gLogMutex);
  ASSERT_GE(gLog.size(), before + 4);
  HWND failed = gLog[before].hwnd;
  EXPECT_FALSE(IsWindow(failed));
  EXPECT_EQ(gLog.back().message, static_cast<UINT>(WM_NCDESTROY));
}

TEST_F(UserTest, SizesTextAndCreateParam) {
  HWND main = CreateWindowExA(0, "TestClass", "Main", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, 0, nullptr);
  RECT r;
  ASSERT_TRUE(GetClientRect(main, &r));
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  int data = 7;
  HWND child = CreateWindowExA(0, "TestClass", "", WS_CHILD, 5, 6, 30, 40, main, 0, 0, &data);
  ASSERT_TRUE(GetClientRect(child, &r));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 30);
  EXPECT_EQ(r.bottom, 40);
  EXPECT_EQ(platform::WindowCreateParam(child), &data);
  EXPECT_FALSE(GetClientRect(0x12345, &r));

  char buf[8];
  EXPECT_EQ(GetWindowTextA(main, buf, sizeof buf), 4);
  EXPECT_STREQ(buf, "Main");
  SetWindowTextA(main, "A longer caption");
  EXPECT_EQ(GetWindowTextA(main, buf, sizeof buf), 7); // cut and terminated
  EXPECT_STREQ(buf, "A longe");
}

TEST_F(UserTest, DestroySendsDestroyMessagesAndRemovesChildren) {
  HWND parent = Make();
  HWND child = Make(parent);
  HWND grandchild = Make(child);
  ASSERT_NE(grandchild, 0u);
  {
    std::lock_guard<std::mutex> lock(gLogMutex);
    gLog.clear();
  }
  EXPECT_TRUE(DestroyWindow(parent));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
  std::lock_guard<std::mutex> lock(gLogMutex);
  std::vector<std::pair<HWND, UINT>> got;
  for (auto &e : gLog) got.emplace_back(e.hwnd, e.message);
  std::vector<std::pair<HWND, UINT>> want{{parent, WM_DESTROY},     {child, WM_DESTROY},
                                          {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY},
                                          {child, WM_NCDESTROY},    {parent, WM_NCDESTROY}};
  EXPECT_EQ(got, want);
  EXPECT_FALSE(DestroyWindow(parent));
  EXPECT_FALSE(PostMessageA(parent, WM_USER, 0, 0));
  EXPECT_EQ(SendMessageA(parent, kDouble, 4, 0), 0);
}

TEST_F(UserTest, CloseGoesThroughDefWindowProcToDestroy) {
  HWND w = Make();
  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(MessagesOf(w).back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST_F(UserTest, PostedMessagesComeInOrderAndQuitComesLast) {
  HWND w = Make();
  PostQuitMessage(3);
  EXPECT_TRUE(PostMessageA(w, WM_USER, 1, 10));
  EXPECT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER + 9, 2, 20));
  EXPECT_TRUE(PostMessageA(w, WM_USER, 3, 30));
  MSG m;
  // PM_NOREMOVE leaves the message where it is.
  ASSERT_TRUE(PeekMessageA(&m, 0, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.wParam, 1u);
  ASSERT_EQ(GetMessageA(&m, 0, 0, 0), 1);
  EXPECT_EQ(m.hwnd, w);
  EXPECT_EQ(m.lParam, 10);
  ASSERT_EQ(GetMessageA(&m, 0, 0, 0), 1);
  EXPECT_EQ(m.hwnd, 0u);
  EXPECT_EQ(m.message, WM_USER + 9);
  ASSERT_EQ(GetMessageA(&m, 0, 0, 0), 1);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_EQ(DispatchMessageA(&m), 0);
  ASSERT_EQ(GetMessageA(&m, 0, 0, 0), 0);
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));
}

TEST_F(UserTest, FiltersSelectMessages) {
  HWND a = Make(), b = Make();
  PostMessageA(a, WM_USER, 0, 0);
  PostMessageA(b, WM_USER + 1, 0, 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 2, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 1);
  ASSERT_TRUE(PeekMessageA(&m, 0xFFFFFFFF, 0, 0, PM_REMOVE)); // thread messages only
  EXPECT_EQ(m.message, WM_USER + 2);
  EXPECT_FALSE(PeekMessageA(&m, 0, WM_USER + 5, WM_USER + 6, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&m, 0, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(m.hwnd, a);
  // A window filter that can never match fails instead of waiting for ever.
  DestroyWindow(a);
  EXPECT_EQ(GetMessageA(&m, a, 0, 0), -1);
  EXPECT_EQ(GetMessageA(&m, 0x4321, 0, 0), -1);
  EXPECT_EQ(GetMessageA(nullptr, 0, 0, 0), -1);
}

TEST_F(UserTest, PaintIsGeneratedWhenNothingElseWaits) {
  HWND w = Make();
  MSG m;
  InvalidateRect(w, nullptr, TRUE);
  EXPECT_FALSE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE)); // hidden windows are not painted
  EXPECT_FALSE(ShowWindow(w, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetForegroundWindow(), w);
  PostMessageA(w, WM_USER, 0, 0);
  ASSERT_TRUE(GetMessageA(&m, 0, 0, 0));
  EXPECT_EQ(m.message, WM_USER); // posted messages before WM_PAINT
  // WM_PAINT comes again until the window is validated.
  gValidatePaint = false;
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(GetMessageA(&m, 0, 0, 0));
    EXPECT_EQ(m.message, WM_PAINT);
    EXPECT_EQ(m.hwnd, w);
    DispatchMessageA(&m);
  }
  gValidatePaint = true;
  DispatchMessageA(&m); // DefWindowProcA validates
  EXPECT_FALSE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));

  // UpdateWindow paints at once, and only when needed.
  RECT r{1, 1, 5, 5};
  InvalidateRect(w, &r, FALSE);
  size_t paints = 0;
  UpdateWindow(w);
  UpdateWindow(w);
  for (UINT msg : MessagesOf(w)) paints += msg == WM_PAINT;
  EXPECT_EQ(paints, 4u);
  EXPECT_FALSE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));
}

TEST_F(UserTest, FirstShowSendsShowSizeAndMove) {
  HWND w = Make();
  ShowWindow(w, SW_SHOWNORMAL);
  EXPECT_EQ(MessagesOf(w),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS,
                               WM_SIZE, WM_MOVE}));
  EXPECT_TRUE(ShowWindow(w, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(w));
  HWND child = Make(w, WS_VISIBLE);
  EXPECT_FALSE(IsWindowVisible(child)); // its parent is hidden
}

TEST_F(UserTest, SendToAnotherThreadRunsInTheOwner) {
  auto owner = std::make_unique<PumpThread>();
  DWORD ownerThread = owner->thread;
  EXPECT_EQ(SendMessageA(owner->hwnd, kDouble, 21, 0), 42);
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(owner->hwnd, kThreadOf, 0, 0)), ownerThread);
  EXPECT_NE(ownerThread, GetCurrentThreadId());
  EXPECT_EQ(GetWindowThreadProcessId(owner->hwnd, nullptr), ownerThread);
  // Posted from here, handled there (before its WM_QUIT).
  EXPECT_TRUE(PostMessageA(owner->hwnd, WM_USER + 7, 0, 0));
  owner.reset();
  std::lock_guard<std::mutex> lock(gLogMutex);
  int found = 0;
  for (auto &e : gLog) {
    if (e.message == WM_USER + 7) {
      EXPECT_EQ(e.thread, ownerThread);
      ++found;
    }
  }
  EXPECT_EQ(found, 1);
}

TEST_F(UserTest, SenderHandlesMessagesSentToItWhileItWaits) {
  // The owner's procedure sends back to a window of the waiting sender.
  HWND mine = Make();
  gRelayTarget = mine;
  PumpThread owner;
  EXPECT_EQ(SendMessageA(owner.hwnd, kRelay, 5, 0), 11);
  std::lock_guard<std::mutex> lock(gLogMutex);
  for (auto &e : gLog)
    if (e.message == kDouble) {
      EXPECT_EQ(e.thread, GetCurrentThreadId());
    }
}

TEST_F(UserTest, TwoThreadsSendingToEachOtherDoNotDeadlock) {
  // Neither thread pumps: each handles the other's message while it waits.
  // Whichever gets its answer first then peeks until the other has its own.
  HWND a = Make();
  std::promise<HWND> bWindow;
  std::atomic<int> ready{0};
  std::atomic<bool> aDone{false}, bDone{false};
  LRESULT bResult = 0;
  std::thread b([&] {
    bWindow.set_value(Make());
    ++ready;
    while (ready < 2) std::this_thread::yield();
    bResult = SendMessageA(a, kDouble, 100, 0);
    bDone = true;
    MSG m;
    while (!aDone) PeekMessageA(&m, 0, 0, 0, PM_REMOVE);
  });
  HWND bw = bWindow.get_future().get();
  ++ready;
  while (ready < 2) std::this_thread::yield();
  EXPECT_EQ(SendMessageA(bw, kDouble, 7, 0), 14);
  aDone = true;
  MSG m;
  while (!bDone) PeekMessageA(&m, 0, 0, 0, PM_REMOVE);
  b.join();
  EXPECT_EQ(bResult, 200);
}

TEST_F(UserTest, SendToAnEndedThreadsWindowReturnsZero) {
  HWND orphan = 0;
  std::thread t([&] { orphan = Make(); });
  t.join();
  EXPECT_FALSE(IsWindow(orphan)); // a thread's windows go with it
  EXPECT_EQ(SendMessageA(orphan, kDouble, 3, 0), 0);

  // A thread that ends while a message to it is pending answers 0.
  std::promise<HWND> made;
  std::promise<void> release;
  std::thread quiet([&] {
    made.set_value(Make());
    release.get_future().wait();
  });
  HWND w = made.get_future().get();
  auto answer = std::async(std::launch::async, [w] { return SendMessageA(w, kDouble, 3, 0); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  release.set_value();
  quiet.join();
  EXPECT_EQ(answer.get(), 0);
}

TEST_F(UserTest, AbortCheckInterruptsBlockedSendAndGet) {
  platform::SetWaitAbortCheck(AbortRequested);
  std::promise<HWND> made;
  std::promise<void> release;
  std::thread quiet([&] {
    made.set_value(Make());
    release.get_future().wait(); // never pumps
  });
  HWND w = made.get_future().get();
  auto sent = std::async(std::launch::async, [w] { return SendMessageA(w, kDouble, 3, 0); });
  auto got = std::async(std::launch::async, [] {
    MSG m;
    return GetMessageA(&m, 0, 0, 0);
  });
  EXPECT_EQ(sent.wait_for(std::chrono::milliseconds(30)), std::future_status::timeout);
  EXPECT_EQ(got.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
  gAbort = true;
  platform::WakeAllWaiters();
  EXPECT_EQ(sent.get(), 0);
  EXPECT_EQ(got.get(), -1);
  // The withdrawn message is not delivered later.
  release.set_value();
  quiet.join();
  for (UINT m : MessagesOf(w)) {
    EXPECT_NE(m, kDouble);
  }
}

TEST_F(UserTest, DestroyFromAnotherThreadRunsInTheOwner) {
  auto owner = std::make_unique<PumpThread>();
  HWND w = owner->hwnd;
  EXPECT_TRUE(DestroyWindow(w));
  EXPECT_FALSE(IsWindow(w));
  {
    std::lock_guard<std::mutex> lock(gLogMutex);
    int seen = 0;
    for (auto &e : gLog) {
      if (e.hwnd == w && (e.message == WM_DESTROY || e.message == WM_NCDESTROY)) {
        EXPECT_EQ(e.thread, owner->thread);
        ++seen;
      }
    }
    EXPECT_EQ(seen, 2);
  }
  owner.reset();

  // An owner that never pumps: the request is given up on abort and the
  // window removed all the same.
  platform::SetWaitAbortCheck(AbortRequested);
  std::promise<HWND> made;
  std::promise<void> release;
  std::thread quiet([&] {
    made.set_value(Make());
    release.get_future().wait();
  });
  HWND q = made.get_future().get();
  auto destroyed = std::async(std::launch::async, [q] { return DestroyWindow(q); });
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  gAbort = true;
  platform::WakeAllWaiters();
  EXPECT_TRUE(destroyed.get());
  EXPECT_FALSE(IsWindow(q));
  release.set_value();
  quiet.join();
}

TEST_F(UserTest, ThreadIdentifiersAreSmallStableAndUnique) {
  DWORD self = GetCurrentThreadId();
  EXPECT_NE(self, 0u);
  EXPECT_EQ(GetCurrentThreadId(), self);
  std::vector<DWORD> ids(8);
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) threads.emplace_back([&ids, i] { ids[i] = GetCurrentThreadId(); });
  for (auto &t : threads) t.join();
  for (int i = 0; i < 8; ++i) {
    EXPECT_NE(ids[i], self);
    EXPECT_LT(ids[i], 0x100000u);
    for (int j = 0; j < i; ++j) EXPECT_NE(ids[i], ids[j]);
  }
  EXPECT_FALSE(PostThreadMessageA(ids[0], WM_USER, 0, 0)); // that thread has ended
}

// ---- Message boxes ----

class MessageBoxTest : public UserTest {};

TEST_F(MessageBoxTest, DefaultButtonsAnswer) {
  struct Case {
    UINT type;
    int answer;
  } cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_ABORTRETRYIGNORE, IDABORT},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
      {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_OK | MB_DEFBUTTON3, IDOK}, // no third button: the first
  };
  for (const Case &c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(0, "t", "c", c.type), c.answer) << std::hex << c.type;
    testing::internal::GetCapturedStderr();
  }
}

TEST_F(MessageBoxTest, OneLineOnStderrInUtf8) {
  testing::internal::CaptureStderr();
  // "エラー" in code page 932, with line breaks in the text.
  MessageBoxA(0, "\x83\x47\x83\x89\x81\x5B\r\nline2\nline3", "Quillrunner", MB_ICONEXCLAMATION);
  MessageBoxA(0, "no caption", nullptr, MB_OK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Quillrunner: \xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC line2 line3\n"
            "Error: no caption\n");
}

TEST_F(MessageBoxTest, ScriptedAnswersMustBeButtonsOfTheBox) {
  std::string seenText;
  platform::SetMessageBoxAnswerProvider(
      [&](const std::string &text, const std::string &, unsigned type) {
        seenText = text;
        return (type & 0xF) == MB_YESNO ? IDNO : IDRETRY;
      });
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxA(0, "q?", "c", MB_YESNO), IDNO);
  EXPECT_EQ(seenText, "q?");
  EXPECT_EQ(MessageBoxA(0, "q?", "c", MB_OKCANCEL), IDOK); // IDRETRY is no button of it
  testing::internal::GetCapturedStderr();
}

} // namespace
