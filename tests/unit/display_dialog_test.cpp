// The on-screen message box's rules (buttons, default button, keyboard and
// mouse answers, line layout, bounds) with a fixed-cell text renderer, and
// the conversion of typed text into WM_CHAR bytes.
#include "dialog_cell_text.h"
#include "platform/cp932.h"
#include "platform/message_box_dialog.h"
#include "platform/platform.h"
#include "platform/text_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::MessageBoxDialog;

using platform::test::CellText;

MessageBoxDialog Box(const std::string &text, UINT type, int answer = 0, int maxW = 1024,
                     int maxH = 768) {
  if (answer == 0) answer = platform::DefaultMessageBoxAnswer(type);
  return MessageBoxDialog(std::make_shared<CellText>(), text, "Caption", type, answer, maxW, maxH);
}

std::vector<int> Ids(const MessageBoxDialog &box) {
  std::vector<int> ids;
  for (const auto &b : box.Buttons()) ids.push_back(b.id);
  return ids;
}

TEST(MessageBoxDialog, ButtonsFollowTheBoxTypeAndFocusTheDefault) {
  EXPECT_EQ(Ids(Box("x", MB_OK)), (std::vector<int>{IDOK}));
  EXPECT_EQ(Ids(Box("x", MB_OKCANCEL)), (std::vector<int>{IDOK, IDCANCEL}));
  EXPECT_EQ(Ids(Box("x", MB_ABORTRETRYIGNORE)), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
  EXPECT_EQ(Ids(Box("x", MB_YESNOCANCEL)), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(Ids(Box("x", MB_YESNO)), (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(Ids(Box("x", MB_RETRYCANCEL)), (std::vector<int>{IDRETRY, IDCANCEL}));
  EXPECT_EQ(Ids(Box("x", 0x7)), (std::vector<int>{IDOK})); // unknown type: OK

  EXPECT_EQ(Box("x", MB_YESNOCANCEL).Focus(), 0);
  EXPECT_EQ(Box("x", MB_YESNOCANCEL | MB_DEFBUTTON2).Focus(), 1);
  EXPECT_EQ(Box("x", MB_YESNOCANCEL | MB_DEFBUTTON3).Focus(), 2);
  // Enter presses the default button.
  EXPECT_EQ(Box("x", MB_YESNO | MB_DEFBUTTON2).KeyDown(0x0D, false), IDNO);
  EXPECT_EQ(Box("x", MB_OKCANCEL).KeyDown(0x0D, false), IDOK);
}

TEST(MessageBoxDialog, KeyboardMovesTheFocusAndAnswers) {
  MessageBoxDialog box = Box("x", MB_ABORTRETRYIGNORE);
  EXPECT_EQ(box.KeyDown(0x09, false), 0); // Tab
  EXPECT_EQ(box.Focus(), 1);
  EXPECT_EQ(box.KeyDown(0x27, false), 0); // Right
  EXPECT_EQ(box.Focus(), 2);
  EXPECT_EQ(box.KeyDown(0x09, false), 0); // wraps round
  EXPECT_EQ(box.Focus(), 0);
  EXPECT_EQ(box.KeyDown(0x09, true), 0); // Shift+Tab goes back, wrapping
  EXPECT_EQ(box.Focus(), 2);
  EXPECT_EQ(box.KeyDown(0x26, false), 0); // Up
  EXPECT_EQ(box.Focus(), 1);
  EXPECT_EQ(box.KeyDown(0x41, false), 0);       // a letter key is no answer
  EXPECT_EQ(box.KeyDown(0x20, false), IDRETRY); // Space presses the focus
  // Mnemonics press their button at once, in either case.
  EXPECT_EQ(box.Character('i'), IDIGNORE);
  EXPECT_EQ(Box("x", MB_YESNO).Character('N'), IDNO);
  EXPECT_EQ(Box("x", MB_YESNO).Character('Q'), 0);
}

TEST(MessageBoxDialog, EscapeAndTheCloseBoxNeedAWayOut) {
  EXPECT_EQ(Box("x", MB_OK).KeyDown(0x1B, false), IDOK);
  EXPECT_EQ(Box("x", MB_OKCANCEL).KeyDown(0x1B, false), IDCANCEL);
  EXPECT_EQ(Box("x", MB_YESNOCANCEL).Close(), IDCANCEL);
  EXPECT_EQ(Box("x", MB_RETRYCANCEL).Close(), IDCANCEL);
  // Yes/No and Abort/Retry/Ignore must be answered with a button.
  EXPECT_EQ(Box("x", MB_YESNO).KeyDown(0x1B, false), 0);
  EXPECT_EQ(Box("x", MB_YESNO).Close(), 0);
  EXPECT_EQ(Box("x", MB_ABORTRETRYIGNORE).Close(), 0);
}

TEST(MessageBoxDialog, AClickCountsWhenReleasedOverTheSameButton) {
  MessageBoxDialog box = Box("x", MB_YESNOCANCEL);
  const RECT yes = box.Buttons()[0].rect;
  const RECT cancel = box.Buttons()[2].rect;
  int cx = (cancel.left + cancel.right) / 2, cy = (cancel.top + cancel.bottom) / 2;
  EXPECT_EQ(box.MouseDown(cx, cy), 0);
  EXPECT_EQ(box.Focus(), 2);
  EXPECT_EQ(box.MouseUp(cx, cy), IDCANCEL);
  // Pressed on Cancel, released on Yes: nothing.
  EXPECT_EQ(box.MouseDown(cx, cy), 0);
  EXPECT_EQ(box.MouseUp(yes.left + 1, yes.top + 1), 0);
  // A release without a press, and clicks beside the buttons, do nothing.
  EXPECT_EQ(box.MouseUp(cx, cy), 0);
  EXPECT_EQ(box.MouseDown(1, box.Height() - 2), 0);
  EXPECT_EQ(box.MouseUp(1, box.Height() - 2), 0);
  EXPECT_TRUE(box.InCaption(5, 2));
  EXPECT_FALSE(box.InCaption(5, box.Height() - 2));
}

TEST(MessageBoxDialog, TextBreaksAtLineEndsAndWrapsLongLines) {
  std::string kanji = cp932::FromUtf8("日本語");
  MessageBoxDialog box = Box("one\r\ntwo\rthree\n\n" + kanji, MB_OK);
  EXPECT_EQ(box.Lines(), (std::vector<std::string>{"one", "two", "three", "", kanji}));

  // On a 400-pixel screen a line wraps at 400*3/4 - 24 = 276 pixels: 34
  // single-byte cells; a double-byte character is never split.
  std::string longLine(100, 'a');
  MessageBoxDialog narrow = Box(longLine, MB_OK, 0, 400, 768);
  ASSERT_GE(narrow.Lines().size(), 3u);
  EXPECT_EQ(narrow.Lines()[0].size(), 34u);
  std::string wide;
  for (int i = 0; i < 40; ++i) wide += kanji;
  MessageBoxDialog split = Box(wide, MB_OK, 0, 400, 768);
  for (const std::string &line : split.Lines()) {
    EXPECT_EQ(line.size() % 2, 0u);
    EXPECT_LE(line.size() / 2 * 16, 276u);
  }
  EXPECT_LE(narrow.Width(), 400);
}

TEST(MessageBoxDialog, HugeTextStaysWithinTheScreen) {
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "line\n";
  MessageBoxDialog box = Box(many + std::string(200000, 'x'), MB_OK, 0, 640, 480);
  EXPECT_LE(box.Height(), 480);
  EXPECT_LE(box.Width(), 640);
  EXPECT_GE(box.Lines().size(), 1u);
  // The buttons stay inside the box.
  for (const auto &b : box.Buttons()) {
    EXPECT_GE(b.rect.left, 0);
    EXPECT_LE(b.rect.right, box.Width());
    EXPECT_LE(b.rect.bottom, box.Height());
  }
}

TEST(MessageBoxDialog, PaintShowsTextIconAndFocusedButton) {
  MessageBoxDialog box = Box("hello", MB_OKCANCEL | MB_ICONHAND | MB_DEFBUTTON2);
  std::vector<uint32_t> pixels(static_cast<size_t>(box.Width()) * box.Height(), 0x123456);
  platform::PixelView view{pixels.data(), box.Width(), box.Height(), box.Width()};
  box.Paint(view);
  for (uint32_t p : pixels) ASSERT_NE(p, 0x123456u); // every pixel painted
  // The stop icon is red at its centre's left, white on its cross.
  const int iconTop = 26 + 12; // caption bar (16 + 10), margin
  EXPECT_EQ(view.Row(iconTop + 16)[12 + 4], 0x00E81123u);
  EXPECT_EQ(view.Row(iconTop + 16)[12 + 16], 0x00FFFFFFu);
  // The text cells are drawn in black right of the icon.
  const RECT ok = box.Buttons()[0].rect;
  const RECT cancel = box.Buttons()[1].rect;
  int textY = iconTop + 8 + 2;
  EXPECT_EQ(view.Row(textY)[12 + 32 + 12 + 2], 0u);
  // The focused (default) button has the thick blue edge, the other not.
  EXPECT_EQ(view.Row(cancel.top + 1)[cancel.left + 10], 0x000078D7u);
  EXPECT_NE(view.Row(ok.top + 1)[ok.left + 10], 0x000078D7u);
  EXPECT_TRUE(box.TakeChanged());
  EXPECT_FALSE(box.TakeChanged());
  box.KeyDown(0x09, false);
  EXPECT_TRUE(box.TakeChanged());
}

TEST(TextInput, CharactersBecomeCodePage932Bytes) {
  using platform::CharMessagesFromUtf8;
  EXPECT_EQ(CharMessagesFromUtf8("aZ?"), (std::vector<WPARAM>{'a', 'Z', '?'}));
  // A double-byte character is two messages, lead byte first.
  EXPECT_EQ(CharMessagesFromUtf8("あ日"), (std::vector<WPARAM>{0x82, 0xA0, 0x93, 0xFA}));
  // Half-width katakana is one byte; the yen sign is the backslash byte.
  EXPECT_EQ(CharMessagesFromUtf8("ｱ"), (std::vector<WPARAM>{0xB1}));
  EXPECT_EQ(CharMessagesFromUtf8("¥"), (std::vector<WPARAM>{0x5C}));
  // What the code page cannot hold, control characters and broken UTF-8
  // give nothing, without losing the characters around them.
  EXPECT_EQ(CharMessagesFromUtf8("a€😀b"), (std::vector<WPARAM>{'a', 'b'}));
  EXPECT_EQ(CharMessagesFromUtf8("a\tb\x7f"), (std::vector<WPARAM>{'a', 'b'}));
  EXPECT_EQ(CharMessagesFromUtf8("a\xE3\x81"), (std::vector<WPARAM>{'a'}));
  EXPECT_EQ(CharMessagesFromUtf8("\xFF\xC0\x80x\xE3\x81\x82"),
            (std::vector<WPARAM>{'x', 0x82, 0xA0}));
  EXPECT_TRUE(CharMessagesFromUtf8("").empty());
}

} // namespace
