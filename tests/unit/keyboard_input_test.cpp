// Keyboard input pieces that need no typing: the input statements' prompt
// errors, the main window's key and mouse messages, the mouse and key state
// functions, and the caret and key state of the platform.
#include <thread>

#include "console/console_input.h"
#include "console/key_functions.h"
#include "console/keyboard_state.h"
#include "console/main_window_input.h"
#include "console_fixture.h"
#include "platform/winuser_input.h"

namespace {

class KeyboardInputTest : public ConsoleTest {
protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    engine_->errorTrap.Set("trap");
  }
  bool TakeError() {
    bool raised = engine_->pendingStatement.NotEmpty();
    engine_->pendingStatement.Clear();
    return raised;
  }
  KeyboardState &K() { return engine_->keyboard; }
};

TEST_F(KeyboardInputTest, BadPromptsAreErrorsBeforeAnythingIsPrinted) {
  for (const char *text : {"\"Name\"A$", "\"Name", "\"Name\"", "\"a\"+\"b\"A$"}) {
    ConsoleLineInput(text, 0);
    EXPECT_TRUE(TakeError()) << text;
  }
  // INPUT: a prompt needs a ";" or "," outside its quotes.
  for (const char *text : {"\"Name\"A", "\"a;b\""}) {
    ConsoleInput(text, 0);
    EXPECT_TRUE(TakeError()) << text;
  }
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(K().inputMode.load(), 0);
}

TEST_F(KeyboardInputTest, ArrowKeysBecomeTheLastKeyAndOtherKeysDoNot) {
  const std::pair<int, uint8_t> arrows[] = {
      {VK_LEFT, 0x1D}, {VK_UP, 0x1E}, {VK_RIGHT, 0x1C}, {VK_DOWN, 0x1F}};
  for (auto [vk, code] : arrows) {
    MainWindowKeyDown(kWindow, static_cast<WPARAM>(vk));
    EXPECT_EQ(K().lastKey.load(), code);
  }
  K().lastKey = 0;
  MainWindowKeyDown(kWindow, 'A');
  MainWindowKeyDown(kWindow, VK_RETURN);
  EXPECT_EQ(K().lastKey.load(), 0);
}

TEST_F(KeyboardInputTest, FunctionKeysFireTheirTrapsOnlyWhileRunning) {
  engine_->traps.keyStatements[2].Set("gosub f3");
  engine_->traps.keySwitch = 1;
  engine_->errorTrap.Clear();
  MainWindowKeyDown(kWindow, VK_F1 + 2);
  EXPECT_EQ(engine_->pendingStatement.Text(), "gosub f3");
  engine_->pendingStatement.Clear();
  engine_->running = 0;
  MainWindowKeyDown(kWindow, VK_F1 + 2);
  EXPECT_FALSE(engine_->pendingStatement.NotEmpty());
}

TEST_F(KeyboardInputTest, MouseMessagesRecordEventAndPositionThenFireTheTrap) {
  engine_->traps.mouseStatements[4].Set("gosub r");
  engine_->traps.mouseSwitches[4] = 0xFF;
  MainWindowMouse(kWindow, WM_RBUTTONUP, MAKELPARAM(640, 480));
  EXPECT_EQ(MouseFunction("0", 0), "640");
  EXPECT_EQ(MouseFunction("1", 0), "480");
  EXPECT_EQ(MouseFunction("2", 0), "5");
  EXPECT_EQ(engine_->pendingStatement.Text(), "gosub r");
  engine_->pendingStatement.Clear();
  const std::pair<UINT, int> events[] = {
      {WM_MOUSEMOVE, 1}, {WM_LBUTTONDOWN, 2}, {WM_RBUTTONDOWN, 3}, {WM_LBUTTONUP, 4}};
  for (auto [message, number] : events) {
    MainWindowMouse(kWindow, message, MAKELPARAM(1, 2));
    EXPECT_EQ(K().mouseEvent.load(), number);
  }
  // Coordinates are the low and high words as they stand.
  MainWindowMouse(kWindow, WM_MOUSEMOVE, MAKELPARAM(-1, 65535));
  EXPECT_EQ(K().mouseX.load(), 65535);
  EXPECT_EQ(K().mouseY.load(), 65535);
}

TEST_F(KeyboardInputTest, MouseSelectorOtherThan012IsAnError) {
  EXPECT_FALSE(TakeError());
  for (const char *arg : {"3", "", "-1", "x"}) {
    EXPECT_EQ(MouseFunction(arg, 0), "0");
    EXPECT_TRUE(TakeError()) << arg;
  }
  // Only the first byte counts.
  EXPECT_EQ(MouseFunction("2.9", 0), MouseFunction("2", 0));
  EXPECT_FALSE(TakeError());
}

TEST_F(KeyboardInputTest, KeyStateReadsTheAsyncStateAndMapsArrowCodes) {
  platform::ResetInputState();
  EXPECT_EQ(KeyStateFunction("30", 0), "0");
  platform::SetKeyDown(VK_UP, true);
  EXPECT_EQ(KeyStateFunction("30", 0), "-32768");
  EXPECT_EQ(KeyStateFunction("38", 0), "-32768");
  EXPECT_EQ(KeyStateFunction("31", 0), "0");
  EXPECT_EQ(KeyStateFunction("1000", 0), "0");
  platform::SetKeyDown(VK_UP, false);
  EXPECT_EQ(KeyStateFunction("30", 0), "0");
  // GetKeyState also toggles its low bit with every press.
  EXPECT_EQ(GetKeyState(VK_UP), 1);
  platform::ResetInputState();
}

TEST(PlatformCaret, HidingIsCumulativeAndOnlyItsWindowShowsIt) {
  platform::ResetInputState();
  EXPECT_FALSE(ShowCaret(0));                     // no caret yet
  EXPECT_FALSE(CreateCaret(0x7FFFFFF3, 0, 9, 6)); // not a window
  WNDCLASSEXA wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "CaretTestClass";
  RegisterClassExA(&wc);
  HWND a = CreateWindowExA(0, "CaretTestClass", "", 0, 0, 0, 10, 10, 0, 0, 0, nullptr);
  HWND b = CreateWindowExA(0, "CaretTestClass", "", 0, 0, 0, 10, 10, 0, 0, 0, nullptr);
  ASSERT_NE(a, 0u);
  ASSERT_TRUE(CreateCaret(a, 0, 9, 6));
  EXPECT_FALSE(platform::CurrentCaret().visible); // a new caret starts hidden
  EXPECT_TRUE(SetCaretPos(3, 4));
  EXPECT_FALSE(ShowCaret(b));
  EXPECT_TRUE(ShowCaret(a));
  platform::CaretState c = platform::CurrentCaret();
  EXPECT_TRUE(c.visible);
  EXPECT_EQ(c.window, a);
  EXPECT_EQ(c.width, 9);
  EXPECT_EQ(c.position.y, 4);
  EXPECT_TRUE(HideCaret(0));
  EXPECT_TRUE(HideCaret(a));
  EXPECT_TRUE(ShowCaret(a));
  EXPECT_FALSE(platform::CurrentCaret().visible); // still hidden once
  EXPECT_TRUE(ShowCaret(a));
  EXPECT_TRUE(platform::CurrentCaret().visible);
  // The input method keeps the composition point and font per window.
  COMPOSITIONFORM form;
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = POINT{7, 8};
  HIMC context = ImmGetContext(a);
  ASSERT_NE(context, 0u);
  EXPECT_TRUE(ImmSetCompositionWindow(context, &form));
  EXPECT_TRUE(ImmReleaseContext(a, context));
  EXPECT_TRUE(platform::Composition(a).placed);
  EXPECT_EQ(platform::Composition(a).point.x, 7);
  EXPECT_FALSE(platform::Composition(b).placed);
  // Another thread cannot destroy the caret.
  std::thread([] { EXPECT_FALSE(DestroyCaret()); }).join();
  EXPECT_TRUE(DestroyCaret());
  EXPECT_EQ(platform::CurrentCaret().window, 0u);
  DestroyWindow(a);
  DestroyWindow(b);
  platform::ResetInputState();
}

TEST_F(KeyboardInputTest, SetFocusShowsTheCaretOnlyWhileEnabled) {
  // The fake window of the fixture is no real window, so the platform
  // refuses the caret; the console's flag decides whether it is tried.
  platform::ResetInputState();
  MainWindowSetFocus(kWindow);
  EXPECT_EQ(platform::CurrentCaret().window, 0u);
  B().caretEnabled = 1;
  MainWindowSetFocus(kWindow);
  MainWindowKillFocus(kWindow);
  EXPECT_FALSE(platform::CurrentCaret().visible);
}

TEST_F(KeyboardInputTest, McinotifyQueuesTheStoredAssignmentForThreadZero) {
  MainWindowMciNotify();
  EXPECT_FALSE(engine_->pendingStatement.NotEmpty());
  SetMciNotifyAssignment("done=1");
  MainWindowMciNotify();
  EXPECT_EQ(engine_->pendingStatement.Text(), "done=1");
}

} // namespace
