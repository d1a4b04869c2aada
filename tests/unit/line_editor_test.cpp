// The line editor's byte rules: backspace sizes in the console text and the
// input line, escaping of typed characters, the prompt that backspace never
// reaches, and the 1023-byte limit of the input line.
#include "console/keyboard_state.h"
#include "console/line_editor.h"
#include "console_fixture.h"

namespace {

TEST(BackspaceSize, CountsLeadBytesAndEscapesInFrontOfTheLastByte) {
  EXPECT_EQ(BackspaceSize("", 0), 0);
  EXPECT_EQ(BackspaceSize("a", 1), 1);
  EXPECT_EQ(BackspaceSize("ab", 2), 1);
  // "漢" is 0x8A 0xBF: one lead byte in front of the last byte.
  EXPECT_EQ(BackspaceSize("a\x8A\xBF", 3), 2);
  EXPECT_EQ(BackspaceSize("\x8A\xBF", 2), 2);
  // "表" is 0x95 0x5C and "ー" 0x81 0x5B; a trail byte that is also a lead
  // byte value makes the count even, so a following single byte is alone.
  EXPECT_EQ(BackspaceSize("\x95\x81x", 3), 1);
  // Two double-byte characters whose trail bytes are lead-byte values.
  EXPECT_EQ(BackspaceSize("\x95\x81\x95\x81", 4), 2);
  // A transparent blank (0x01 0x79) is one cell of two bytes.
  EXPECT_EQ(BackspaceSize("a\x01\x79", 3), 2);
  // Only the bytes in front of the cursor count.
  EXPECT_EQ(BackspaceSize("\x8A\xBFxyz", 2), 2);
  EXPECT_EQ(BackspaceSize("\x8A\xBFxyz", 3), 1);
}

TEST(LastCharacterSize, WalksTheStringTextForm) {
  EXPECT_EQ(LastCharacterSize(""), 0u);
  EXPECT_EQ(LastCharacterSize("ab"), 1u);
  EXPECT_EQ(LastCharacterSize("a\x01z"), 2u);    // an escaped quote
  EXPECT_EQ(LastCharacterSize("\x01\x01"), 2u);  // an escaped 0x01
  EXPECT_EQ(LastCharacterSize("\x8A\xBF"), 2u);  // a double-byte character
  EXPECT_EQ(LastCharacterSize("\x95\x81x"), 1u); // trail 0x81 is no lead here
  EXPECT_EQ(LastCharacterSize("x\x8A"), 1u);     // a lone lead byte
  EXPECT_EQ(LastCharacterSize("\x01\x01z"), 1u); // z after an escape pair
}

TEST(TypedCharToText, EscapesOnlyQuoteAndEscapeByte) {
  std::string out;
  for (int c : {0x61, 0x22, 0x01, 0x20, 0x8A}) TypedCharToText(static_cast<uint8_t>(c), out);
  EXPECT_EQ(out, std::string("a\x01z\x01\x01 \x8A"));
}

class LineEditorTest : public ConsoleTest {
protected:
  KeyboardState &K() { return engine_->keyboard; }
  void Type(std::string_view bytes) {
    for (char c : bytes) LineEditorChar(kWindow, static_cast<uint8_t>(c));
  }
  // What an input statement does before it waits.
  void StartInput(std::string_view prompt) {
    ConsoleWrite(prompt);
    K().inputLine.Clear();
    K().inputLength = 0;
    K().inputMode = 1;
  }
};

TEST_F(LineEditorTest, WithoutAnInputKeysOnlyBecomeTheLastKey) {
  ConsoleWrite("out");
  Type("xy");
  EXPECT_EQ(K().lastKey.load(), 'y');
  EXPECT_EQ(Text(), "out");
  EXPECT_EQ(K().inputLine.Text(), "");
  // Backspace and Enter are ignored while the program runs.
  Type("\b\r");
  EXPECT_EQ(K().lastKey.load(), '\r');
  EXPECT_EQ(Text(), "out");
}

TEST_F(LineEditorTest, TypedCharactersAreEscapedAppendedAndEchoed) {
  StartInput("? ");
  K().lastKey = 0;
  Type("a\"b");
  EXPECT_EQ(K().inputLine.Text(), "a\x01zb");
  EXPECT_EQ(K().inputLength.load(), 4);
  EXPECT_EQ(Text(), "? a\"b");
  EXPECT_EQ(K().lastKey.load(), 0); // keys of a line are not the last key
  Type("\r");
  EXPECT_EQ(K().inputMode.load(), 0);
  EXPECT_EQ(Text(), "? a\"b\n");
}

TEST_F(LineEditorTest, BackspaceTakesBackWholeCharactersButNeverThePrompt) {
  StartInput("\x8A\xBF? "); // a prompt ending in a blank after a kanji
  Type("a\x8A\xBF");
  Type("\b");
  EXPECT_EQ(Text(), "\x8A\xBF? a");
  EXPECT_EQ(K().inputLine.Text(), "a");
  Type("\"\b");
  EXPECT_EQ(Text(), "\x8A\xBF? a");
  EXPECT_EQ(K().inputLine.Text(), "a");
  EXPECT_EQ(K().inputLength.load(), 1);
  Type("\b\b\b");
  EXPECT_EQ(Text(), "\x8A\xBF? ");
  EXPECT_EQ(K().inputLine.Text(), "");
  EXPECT_EQ(K().inputLength.load(), 0);
  EXPECT_EQ(B().cursor, 4);
}

TEST_F(LineEditorTest, TheLineHoldsAtMost1023BytesAndNeverSplitsACharacter) {
  StartInput("");
  Type(std::string(1021, 'x'));
  Type("\""); // needs two bytes: fits exactly
  EXPECT_EQ(K().inputLine.Size(), 1023u);
  Type("y"); // refused
  EXPECT_EQ(K().inputLine.Size(), 1023u);
  Type("\b\b"); // the quote, then one x
  EXPECT_EQ(K().inputLine.Size(), 1020u);
  Type("ab");       // 1022
  Type("\x8A\xBF"); // a double-byte character does not fit: both bytes refused
  EXPECT_EQ(K().inputLine.Size(), 1022u);
  Type("c"); // a single byte still fits
  EXPECT_EQ(K().inputLine.Size(), 1023u);
  std::string line = K().inputLine.Text();
  EXPECT_EQ(line.substr(1018), "xxabc");
  EXPECT_EQ(Text().size(), 1023u); // the echo matches the line
}

TEST_F(LineEditorTest, BackspaceWithoutARunningProgramEditsTheConsole) {
  ConsoleWrite("ab");
  engine_->running = 0;
  Type("\b");
  EXPECT_EQ(Text(), "a");
}

} // namespace
