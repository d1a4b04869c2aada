// The events file format and the decoding of typed stdin bytes into the
// messages a keyboard and a mouse would post.
#include <gtest/gtest.h>

#include "platform/event_script.h"
#include "platform/winuser_input.h"

namespace {

using platform::ScriptEvent;
using Kind = ScriptEvent::Kind;

// The WM_CHAR bytes of a list of key events.
std::string Chars(const std::vector<ScriptEvent> &events) {
  std::string out;
  for (const ScriptEvent &e : events)
    for (const platform::InputMessage &m : e.messages)
      if (m.message == WM_CHAR) out.push_back(static_cast<char>(m.wParam));
  return out;
}

std::vector<ScriptEvent> Parse(std::string_view text, std::vector<std::string> *errors = nullptr) {
  std::vector<std::string> local;
  auto events = platform::ParseEventScript(text, errors ? *errors : local);
  if (!errors) {
    EXPECT_TRUE(local.empty()) << local.front();
  }
  return events;
}

TEST(EventScript, TextLinesTypeOneEventPerCharacterInCodePage932) {
  auto events = Parse("text a 漢\nline x\n");
  ASSERT_EQ(events.size(), 5u); // a, blank, 漢, x, Enter
  EXPECT_EQ(Chars(events), std::string("a \x8A\xBFx\r"));
  EXPECT_EQ(events[2].messages.size(), 2u); // both bytes of one character
  EXPECT_TRUE(events[0].paced);
  EXPECT_TRUE(events.back().endsLine);
}

TEST(EventScript, NamedKeysFunctionKeysAndNow) {
  auto events = Parse("# comment\n\n  Enter\nbackspace\nUP\nf12\nnow text q\nspace\n");
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0].messages[0].message, WM_KEYDOWN);
  EXPECT_EQ(events[0].messages[0].wParam, static_cast<WPARAM>(VK_RETURN));
  EXPECT_EQ(events[0].messages[1].wParam, static_cast<WPARAM>('\r'));
  EXPECT_EQ(events[1].messages[1].wParam, static_cast<WPARAM>('\b'));
  // An arrow has no character; a function key is not paced.
  EXPECT_EQ(Chars({events[2]}), "");
  EXPECT_TRUE(events[2].paced);
  EXPECT_EQ(events[3].messages[0].wParam, static_cast<WPARAM>(VK_F12));
  EXPECT_FALSE(events[3].paced);
  EXPECT_FALSE(events[4].paced);
  EXPECT_EQ(Chars({events[5]}), " ");
}

TEST(EventScript, MouseAnswersWaitsAndHeldKeys) {
  auto events = Parse("move 1 2\nclick right 300 400\npress left 5 6\nrelease left 7 8\n"
                      "answer No\nwait 250\nwait input\nkeydown a\nkeyup left\n");
  ASSERT_EQ(events.size(), 9u);
  EXPECT_EQ(events[0].messages[0].message, WM_MOUSEMOVE);
  EXPECT_EQ(events[0].messages[0].lParam, MAKELPARAM(1, 2));
  ASSERT_EQ(events[1].messages.size(), 2u);
  EXPECT_EQ(events[1].messages[0].message, WM_RBUTTONDOWN);
  EXPECT_EQ(events[1].messages[1].message, WM_RBUTTONUP);
  EXPECT_EQ(events[1].messages[1].lParam, MAKELPARAM(300, 400));
  EXPECT_EQ(events[2].messages[0].wParam, MK_LBUTTON);
  EXPECT_EQ(events[3].messages[0].message, WM_LBUTTONUP);
  EXPECT_EQ(events[4].kind, Kind::kAnswer);
  EXPECT_EQ(events[4].answer, IDNO);
  EXPECT_EQ(events[5].kind, Kind::kWaitTime);
  EXPECT_EQ(events[5].milliseconds, 250);
  EXPECT_EQ(events[6].kind, Kind::kWaitInput);
  EXPECT_EQ(events[7].kind, Kind::kKeyState);
  EXPECT_EQ(events[7].virtualKey, 'A');
  EXPECT_TRUE(events[7].down);
  EXPECT_EQ(events[8].virtualKey, VK_LEFT);
  EXPECT_FALSE(events[8].down);
}

TEST(EventScript, BadLinesAreReportedAndSkipped) {
  std::vector<std::string> errors;
  auto events = Parse("move 1\nclick middle 1 2\nanswer maybe\nwait -1\nwait 9999999\n"
                      "f13\nnow move 1 2\nkeydown\nfrobnicate\nmove 1 2\n",
                      &errors);
  EXPECT_EQ(events.size(), 1u);
  ASSERT_EQ(errors.size(), 9u);
  EXPECT_EQ(errors[0].rfind("line 1:", 0), 0u);
  EXPECT_EQ(errors[8].rfind("line 9:", 0), 0u);
}

std::string Decode(std::string_view bytes, bool raw, std::vector<ScriptEvent> *out = nullptr) {
  platform::KeyDecoder decoder(raw);
  std::vector<ScriptEvent> events;
  for (char c : bytes) decoder.Push(static_cast<uint8_t>(c), events);
  decoder.Finish(events);
  if (out) *out = events;
  return Chars(events);
}

TEST(KeyDecoder, LineEndsBackspaceAndTabs) {
  std::vector<ScriptEvent> events;
  // LF, CR LF and a lone CR are one Enter each.
  EXPECT_EQ(Decode("a\nb\r\nc\rd\b\x7F\t", false, &events), "a\rb\rc\rd\b\b\t");
  EXPECT_TRUE(events[1].endsLine);
  EXPECT_EQ(events[1].messages[0].wParam, static_cast<WPARAM>(VK_RETURN));
}

TEST(KeyDecoder, Utf8BecomesCodePage932AndBrokenBytesAQuestionMark) {
  EXPECT_EQ(Decode("漢字", false), "\x8A\xBF\x8E\x9A");
  EXPECT_EQ(Decode("\xE6\xBC", false), "?");   // cut short at the end
  EXPECT_EQ(Decode("\xE6\xBCx", false), "?x"); // cut short by another byte
  EXPECT_EQ(Decode("\x80y", false), "?y");     // a stray continuation byte
  EXPECT_EQ(Decode("😀", false), "?");          // no code page 932 form
}

TEST(KeyDecoder, RawCodePage932KeepsPairsTogether) {
  std::vector<ScriptEvent> events;
  EXPECT_EQ(Decode("\x8A\xBF\xB1z", true, &events), "\x8A\xBF\xB1z");
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].messages.size(), 2u);
  EXPECT_EQ(Decode("\x8A\n", true), "?\r");
}

} // namespace

TEST(EventScript, PrintSetupAnswers) {
  std::vector<std::string> errors;
  auto events = Parse("printsetup ok\nPrintSetup Cancel\nprintsetup choose  Office Laser 2 \n"
                      "printsetup\nprintsetup choose\nprintsetup ok now\nprintsetup maybe\n",
                      &errors);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, Kind::kPrintSetup);
  EXPECT_FALSE(events[0].cancel);
  EXPECT_EQ(events[0].printer, "");
  EXPECT_TRUE(events[1].cancel);
  // The name is the rest of the line, inner blanks kept.
  EXPECT_FALSE(events[2].cancel);
  EXPECT_EQ(events[2].printer, "Office Laser 2");
  EXPECT_EQ(errors.size(), 4u);
}
