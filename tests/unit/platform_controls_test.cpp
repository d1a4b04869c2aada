// What programs cannot reach through SENDMESSAGE: lent buffers smaller than
// a message's length, the edit control's limit and typing, focus moving by
// Tab, geometry of children and menu bars, and menu searches.
#include "platform/controls_paint.h"
#include "platform/platform.h"
#include "platform/wingdi.h"
#include "platform/winuser_controls.h"
#include "platform/winuser_input.h"
#include "platform/winuser_menu.h"
#include "platform/winuser_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

LRESULT Plain(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class ControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    platform::ResetWindowManager();
    WNDCLASSEXA wc;
    wc.lpfnWndProc = Plain;
    wc.lpszClassName = "PlainForm";
    RegisterClassExA(&wc);
    form = CreateWindowExA(0, "PlainForm", "Form", WS_VISIBLE, 100, 50, 400, 300, 0, 0, 0, nullptr);
  }
  void TearDown() override { platform::ResetWindowManager(); }
  HWND Child(const char *cls, DWORD style, int id, const char *text = "") {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 20, 150, 60, form,
                           static_cast<HMENU>(id), 0, nullptr);
  }
  HWND form = 0;
};

TEST_F(ControlsTest, TextCopiesNeverPassTheLentBuffer) {
  HWND e = Child("EDIT", 0, 1);
  platform::SendTextMessage(e, WM_SETTEXT, 0, "abcdefghij");
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  // wParam claims 100 bytes, the lent buffer has 4: 3 characters and a NUL.
  platform::LentBuffer lent(buffer, 4);
  EXPECT_EQ(SendMessageA(e, WM_GETTEXT, 100, lent.Number()), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], 'x');
  // A number that was never lent is no buffer.
  EXPECT_EQ(SendMessageA(e, WM_GETTEXT, 100, 12345), 0);
}

TEST_F(ControlsTest, TypingStopsAtTheLimitAndKeepsDoubleByteCharacters) {
  HWND e = Child("EDIT", 0, 1);
  SendMessageA(e, EM_LIMITTEXT, 3, 0);
  for (char c : std::string("ab\x82\xa0z")) SendMessageA(e, WM_CHAR, static_cast<uint8_t>(c), 0);
  // "ab" fits, the double-byte character would need 4 bytes and is refused
  // whole, "z" fills the third byte.
  EXPECT_EQ(platform::WindowText(e), "abz");
  SendMessageA(e, WM_CHAR, '\b', 0);
  SendMessageA(e, EM_LIMITTEXT, 10, 0);
  for (char c : std::string("\x82\xa0")) SendMessageA(e, WM_CHAR, static_cast<uint8_t>(c), 0);
  SendMessageA(e, WM_CHAR, '\b', 0);
  EXPECT_EQ(platform::WindowText(e), "ab");
}

TEST_F(ControlsTest, TabMovesTheFocusPastStaticsAndDisabledControls) {
  HWND a = Child("EDIT", 0, 1);
  Child("STATIC", 0, 2, "label");
  HWND off = Child("BUTTON", WS_DISABLED, 3, "Off");
  HWND b = Child("BUTTON", 0, 4, "On");
  EXPECT_FALSE(IsWindowEnabled(off));
  SetFocus(a);
  EXPECT_EQ(GetFocus(), a);
  SendMessageA(a, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), b);
  SendMessageA(b, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), a); // round again
}

TEST_F(ControlsTest, ChildRectanglesFollowTheParentAndItsMenuBar) {
  HWND c = Child("STATIC", 0, 1);
  RECT r;
  ASSERT_TRUE(GetWindowRect(c, &r));
  EXPECT_EQ(r.left, 110);
  EXPECT_EQ(r.top, 70);
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 7, "Item");
  ASSERT_TRUE(SetMenu(form, bar));
  GetWindowRect(c, &r);
  EXPECT_EQ(r.top, 70 + kMenuBarHeight);
  GetClientRect(form, &r);
  EXPECT_EQ(r.bottom, 300 - kMenuBarHeight);
  EXPECT_EQ(platform::WindowAtPoint(form, 115, 75 + kMenuBarHeight), c);
  EXPECT_EQ(platform::WindowAtPoint(form, 399, 349), form);
  EXPECT_EQ(platform::WindowAtPoint(form, 500, 10), 0u);
  // A child cannot have a menu bar.
  EXPECT_FALSE(SetMenu(c, bar));
}

TEST_F(ControlsTest, MenuItemsAreFoundInSubmenusAndSurviveSelfNesting) {
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 11, "Deep");
  AppendMenuA(bar, MF_POPUP, sub, "Sub");
  EXPECT_TRUE(platform::MenuHasEnabledItem(bar, 11));
  EnableMenuItem(bar, 11, MF_GRAYED);
  EXPECT_FALSE(platform::MenuHasEnabledItem(bar, 11));
  char text[8];
  EXPECT_EQ(GetMenuStringA(bar, 11, text, sizeof text, MF_BYCOMMAND), 4);
  EXPECT_EQ(GetMenuStringA(bar, 11, text, 3, MF_BYCOMMAND), 2);
  EXPECT_STREQ(text, "De");
  // A menu made its own submenu is searched a bounded depth and destroyed
  // once.
  AppendMenuA(sub, MF_POPUP, sub, "Loop");
  EXPECT_FALSE(platform::MenuHasEnabledItem(bar, 99));
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(IsMenu(sub));
}

// The controls' layout measures with the font they draw in: the caret after
// double-byte text sits where that text ends when drawn, a click between
// two characters lands on the nearer boundary, and list items are one line
// of the font high.
TEST_F(ControlsTest, LayoutMeasuresWithTheFontTheControlsDrawIn) {
  LOGFONTA lf;
  lf.lfHeight = 16;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  static const char kFaceName[] = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";
  std::memcpy(lf.lfFaceName, kFaceName, sizeof kFaceName);
  HDC dc = CreateCompatibleDC(0);
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  const std::string text = "a\x82\xa0\x93\xfa"; // a, two double-byte characters
  SIZE full{}, first{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &full);
  GetTextExtentPoint32A(dc, text.data(), 3, &first);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);

  HWND e = Child("EDIT", 0, 1);
  SetFocus(e);
  for (char c : text) SendMessageA(e, WM_CHAR, static_cast<uint8_t>(c), 0);
  POINT caret{};
  GetCaretPos(&caret);
  EXPECT_EQ(caret.x, platform::kEditMargin + full.cx);
  // A click just right of the middle of the first double-byte character
  // puts the caret after it.
  SIZE a1{};
  {
    HDC dc2 = CreateCompatibleDC(0);
    HFONT f2 = CreateFontIndirectA(&lf);
    HGDIOBJ o2 = SelectObject(dc2, f2);
    GetTextExtentPoint32A(dc2, text.data(), 1, &a1);
    SelectObject(dc2, o2);
    DeleteObject(f2);
    DeleteDC(dc2);
  }
  const int x = platform::kEditMargin + (a1.cx + first.cx) / 2 + 1;
  SendMessageA(e, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
  SendMessageA(e, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
  DWORD start = 0, end = 0;
  platform::LentBuffer a(&start, sizeof start), b(&end, sizeof end);
  SendMessageA(e, EM_GETSEL, a.Number(), b.Number());
  EXPECT_EQ(end, 3u);

  HWND list = Child("LISTBOX", 0, 2);
  platform::SendTextMessage(list, LB_ADDSTRING, 0, "one");
  platform::SendTextMessage(list, LB_ADDSTRING, 0, "two");
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), tm.tmHeight);
  RECT item{};
  platform::LentBuffer r(&item, sizeof item);
  ASSERT_EQ(SendMessageA(list, LB_GETITEMRECT, 1, r.Number()), 0);
  EXPECT_EQ(item.bottom - item.top, tm.tmHeight);
}

} // namespace
