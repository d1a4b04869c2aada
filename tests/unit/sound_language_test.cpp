// The music language: what each command does to notes, durations and the
// channel's carried octave and tempo.
#include <gtest/gtest.h>

#include "sound/music_language.h"
#include "sound/music_state.h"

namespace {

using Kind = MusicAction::Kind;

std::vector<MusicAction> Read(const std::string &text, MusicChannel &channel) {
  return ReadMusic(text, channel);
}

std::vector<MusicAction> Read(const std::string &text) {
  MusicChannel channel;
  return ReadMusic(text, channel);
}

// Notes and rests as "n60:500" and "r1000", instruments as "@6".
std::string Show(const std::vector<MusicAction> &actions) {
  std::string out;
  for (const MusicAction &a : actions) {
    if (!out.empty()) out += ' ';
    if (a.kind == Kind::kInstrument)
      out += "@" + std::to_string(a.value);
    else if (a.kind == Kind::kNote)
      out += "n" + std::to_string(a.value) + ":" + std::to_string(a.duration);
    else
      out += "r" + std::to_string(a.duration);
  }
  return out;
}

TEST(MusicLanguage, NotesSignsLengthsDotsAndTies) {
  EXPECT_EQ(Show(Read("CDEFGAB")), "n60:500 n62:500 n64:500 n65:500 n67:500 n69:500 n71:500");
  EXPECT_EQ(Show(Read("C+D-E+B+")), "n61:500 n61:500 n65:500 n72:500");
  EXPECT_EQ(Show(Read("C1C2C8C16C3")), "n60:2000 n60:1000 n60:250 n60:125 n60:666");
  EXPECT_EQ(Show(Read("C8.C.C+.")), "n60:375 n60:750 n61:750");
  EXPECT_EQ(Show(Read("C4^8 C^4. C8.^16.")), "n60:750 n60:1250 n60:562");
  // Only one tie per note: the second ^ and its digits are skipped.
  EXPECT_EQ(Show(Read("C^4^4")), "n60:1000");
  EXPECT_EQ(Show(Read("P2P8.P")), "r1000 r375 r500");
  // A rest takes no sign: the + is skipped.
  EXPECT_EQ(Show(Read("P+4")), "r500");
}

TEST(MusicLanguage, CaseBlanksAndStrayCharactersDoNotMatter) {
  EXPECT_EQ(Show(Read("c d+ e-8")), Show(Read("CD+E-8")));
  EXPECT_EQ(Show(Read("XYZ 123 !# C")), "n60:500");
  // The second byte of a double-byte character is no command, even when it
  // is a letter: "ア" is 0x83 0x41 ("A"), "ツ" is 0x83 0x63 ("c").
  EXPECT_EQ(Show(Read("\x83\x41\x83\x63"
                      "D")),
            "n62:500");
}

TEST(MusicLanguage, OctaveTempoAndTheirCarryOver) {
  MusicChannel channel;
  EXPECT_EQ(Show(Read("T60O5A", channel)), "n81:1000");
  // The next string on the channel starts where this one ended.
  EXPECT_EQ(Show(Read("C", channel)), "n72:1000");
  EXPECT_EQ(channel.octave.load(), 5);
  EXPECT_EQ(channel.quarter.load(), 1000);
  // O takes exactly one character: O10 is octave 1, then a stray 0.
  EXPECT_EQ(Show(Read("O10C", channel)), "n24:1000");
  // trunc(60 / 7 * 1000) = 8571
  EXPECT_EQ(Show(Read("T7C4", channel)), "n24:8571");
  EXPECT_EQ(Show(Read("O0C O9G")), "n12:500 n127:500");
}

TEST(MusicLanguage, OpenCasesHaveBoundedResults) {
  // Tempo 0 leaves the tempo as it was; a length of 0 is a quarter note.
  EXPECT_EQ(Show(Read("T0C C0 C^0")), "n60:500 n60:500 n60:1000");
  // A tempo too fast for whole milliseconds gives notes of 0 ms.
  EXPECT_EQ(Show(Read("T99999999999999C")), "n60:0");
  // Octaves from characters that are no digits leave 0..127; they are
  // passed on as they are and the player keeps them silent.
  std::vector<MusicAction> odd = Read("OZC O!C");
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_GT(odd[0].value, 127);
  EXPECT_LT(odd[1].value, 0);
  // O at the very end changes nothing.
  MusicChannel channel;
  Read("O", channel);
  EXPECT_EQ(channel.octave.load(), 4);
  // Only the first 8192 characters are read.
  std::string longText(8191, 'x');
  EXPECT_EQ(Show(Read(longText + "CD")), "n60:500");
}

TEST(MusicLanguage, Instruments) {
  EXPECT_EQ(Show(Read("@0@1@13@21@43@80@99@@-1")), "@6 @63 @1 @62 @107 @40 @6 @6 @6");
  EXPECT_EQ(InstrumentProgram(-5), 6);
  EXPECT_EQ(InstrumentProgram(11), 6);
  EXPECT_EQ(InstrumentProgram(75), 85);
  EXPECT_EQ(InstrumentProgram(1LL << 40), 6);
}

} // namespace
