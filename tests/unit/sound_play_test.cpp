// PLAY end to end: programs run headless with the MIDI recorder, and the
// recorded Standard MIDI File is read back and checked note by note.
#include <gtest/gtest.h>

#include <chrono>

#include "sound_test_util.h"
#include "test_support.h"

namespace {

using soundtest::MidiEvent;
using soundtest::MidiFile;

// Timing bounds for a busy two-core machine: every message is placed on one
// timeline, so a note-on that comes late shortens its note a little, and a
// note-off that comes late lengthens it. The bounds still tell a dotted
// eighth (375) from a plain one (250) and a tie (750) from a quarter (500).
constexpr int kEarly = 60;
constexpr int kLate = 150;

struct Note {
  int channel;
  int number;
  uint32_t on;
  uint32_t off;
};

class PlayTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = testsupport::TempDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  // Runs SOURCE with the recorder; the recording read back.
  MidiFile Record(const std::string &source, testsupport::RunResult *result = nullptr) {
    std::string midi = dir_ + "/out.mid";
    testsupport::RunResult r =
        soundtest::RunSource(dir_, "prog", source, "QUILLRUNNER_MIDI_FILE='" + midi + "'");
    EXPECT_EQ(r.err, "");
    if (result) *result = r;
    MidiFile f = soundtest::ReadMidiFile(testsupport::ReadAll(midi));
    EXPECT_TRUE(f.ok) << f.problem;
    EXPECT_EQ(f.format, 0);
    EXPECT_EQ(f.tracks, 1);
    EXPECT_EQ(f.division, 1000);
    EXPECT_EQ(f.tempo, 1000000u);
    return f;
  }
  // Pairs note-ons with their note-offs (velocity 0); every note must end.
  static std::vector<Note> Notes(const MidiFile &f) {
    std::vector<Note> notes;
    std::vector<int> open;
    for (const MidiEvent &e : f.events) {
      if ((e.status & 0xF0) != 0x90) continue;
      int channel = e.status & 0x0F;
      if (e.data2 != 0) {
        EXPECT_EQ(e.data2, 96);
        notes.push_back({channel, e.data1, e.tick, 0});
        open.push_back(static_cast<int>(notes.size() - 1));
        continue;
      }
      bool matched = false;
      for (size_t k = 0; k < open.size(); ++k) {
        Note &n = notes[static_cast<size_t>(open[k])];
        if (n.channel == channel && n.number == e.data1) {
          n.off = e.tick;
          open.erase(open.begin() + static_cast<long>(k));
          matched = true;
          break;
        }
      }
      EXPECT_TRUE(matched) << "note off without a note on: " << int(e.data1);
    }
    EXPECT_TRUE(open.empty()) << open.size() << " notes left sounding";
    return notes;
  }
  static std::vector<MidiEvent> ProgramChanges(const MidiFile &f) {
    std::vector<MidiEvent> out;
    for (const MidiEvent &e : f.events)
      if ((e.status & 0xF0) == 0xC0) out.push_back(e);
    return out;
  }
  static void ExpectLength(const Note &n, int ms) {
    int length = static_cast<int>(n.off - n.on);
    EXPECT_GE(length, ms - kEarly) << "note " << n.number;
    EXPECT_LE(length, ms + kLate) << "note " << n.number;
  }
  static void ExpectAt(uint32_t tick, uint32_t from, int ms) {
    int at = static_cast<int>(tick - from);
    EXPECT_GE(at, ms - kEarly);
    EXPECT_LE(at, ms + kLate);
  }
  std::string dir_;
};

TEST_F(PlayTest, FirstPlayOpensTheOutputAndPlaysQuarterNotes) {
  MidiFile f = Record("PLAY \"CDE\"\nPRINT \"done\"\n");
  std::vector<MidiEvent> programs = ProgramChanges(f);
  ASSERT_EQ(programs.size(), 8u);
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(programs[static_cast<size_t>(c)].status, 0xC0 + c);
    EXPECT_EQ(programs[static_cast<size_t>(c)].data1, 6);
  }
  // The program changes come first, then the notes on channel 0.
  EXPECT_EQ(f.events[8].status, 0x90);
  std::vector<Note> notes = Notes(f);
  ASSERT_EQ(notes.size(), 3u);
  int expected[] = {60, 62, 64};
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(notes[k].channel, 0);
    EXPECT_EQ(notes[k].number, expected[k]);
    ExpectLength(notes[k], 500);
    ExpectAt(notes[k].on, notes[0].on, 500 * static_cast<int>(k));
  }
}

TEST_F(PlayTest, TempoOctaveDotsTiesAndRests) {
  testsupport::RunResult r;
  // Each PLAY starts afresh in time; the notes are told apart by number.
  MidiFile f = Record("PLAY \"T60 O5 A\"\n"
                      "PLAY \"T120 O4 C8.\"\n"
                      "PLAY \"D4^8\"\n"
                      "PLAY \"E P2 F\"\n"
                      "PRINT \"done\"\n",
                      &r);
  EXPECT_EQ(r.out, "done\n");
  std::vector<Note> notes = Notes(f);
  ASSERT_EQ(notes.size(), 5u);
  EXPECT_EQ(notes[0].number, 81);
  ExpectLength(notes[0], 1000);
  EXPECT_EQ(notes[1].number, 60);
  ExpectLength(notes[1], 375);
  EXPECT_EQ(notes[2].number, 62);
  ExpectLength(notes[2], 750);
  EXPECT_EQ(notes[3].number, 64);
  ExpectLength(notes[3], 500);
  // The half rest separates E from F.
  uint32_t fOn = 0;
  for (const MidiEvent &e : f.events)
    if (e.status == 0x90 && e.data1 == 65 && e.data2 != 0) fOn = e.tick;
  ExpectAt(fOn, notes[3].on, 1500);
}

TEST_F(PlayTest, LowerCaseAndBlanksPlayAsUpperCase) {
  MidiFile lower = Record("PLAY \" c d+ e- \" + \"o3 b\"\n");
  std::vector<Note> notes = Notes(lower);
  ASSERT_EQ(notes.size(), 4u);
  EXPECT_EQ(notes[0].number, 60);
  EXPECT_EQ(notes[1].number, 63);
  EXPECT_EQ(notes[2].number, 63);
  EXPECT_EQ(notes[3].number, 59);
}

TEST_F(PlayTest, TwoStringsPlayTogetherAndPlayReturnsAfterTheLonger) {
  testsupport::RunResult r;
  MidiFile f = Record("PLAY \"C2C2C2C2\", \"E1\"\n"
                      "PRINT \"after\"\n"
                      "PLAY \"G\"\n",
                      &r);
  EXPECT_EQ(r.out, "after\n");
  std::vector<Note> notes = Notes(f);
  std::vector<Note> halves, whole, after;
  for (const Note &n : notes)
    (n.channel == 1 ? whole : n.number == 60 ? halves : after).push_back(n);
  ASSERT_EQ(halves.size(), 4u);
  ASSERT_EQ(whole.size(), 1u);
  ASSERT_EQ(after.size(), 1u);
  uint32_t start = std::min(halves[0].on, whole[0].on);
  // The strings start together.
  ExpectAt(std::max(halves[0].on, whole[0].on), start, 0);
  EXPECT_EQ(whole[0].number, 64);
  ExpectLength(whole[0], 2000);
  // Every half note is placed from the common start, so the fourth one
  // ends at 4000 ms whatever the lateness of each step.
  for (size_t k = 0; k < 4; ++k) ExpectAt(halves[k].on, start, 1000 * static_cast<int>(k));
  ExpectAt(halves[3].off, start, 4000);
  // The next PLAY began only after the longer string had ended.
  EXPECT_EQ(after[0].number, 67);
  EXPECT_GE(after[0].on, halves[3].off);
}

TEST_F(PlayTest, OctaveCarriesOverAndTakesOneCharacter) {
  MidiFile f = Record("PLAY \"O2\"\nPLAY \"C\"\nPLAY \"O10C\"\nCLEAR\nPLAY \"C\"\n");
  std::vector<Note> notes = Notes(f);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].number, 36); // octave 2 from the earlier PLAY
  EXPECT_EQ(notes[1].number, 24); // O1; the 0 was a stray digit
  EXPECT_EQ(notes[2].number, 60); // CLEAR: octave 4 again
}

TEST_F(PlayTest, InstrumentsFollowTheTable) {
  MidiFile f = Record("PLAY \"@0C@1C@99C@80C\", \"@13 D\"\n");
  std::vector<MidiEvent> programs = ProgramChanges(f);
  ASSERT_EQ(programs.size(), 8u + 5u);
  std::vector<int> channel0, channel1;
  for (size_t k = 8; k < programs.size(); ++k)
    (programs[k].status == 0xC0 ? channel0 : channel1).push_back(programs[k].data1);
  EXPECT_EQ(channel0, (std::vector<int>{6, 63, 6, 40}));
  EXPECT_EQ(channel1, (std::vector<int>{1}));
  EXPECT_EQ(Notes(f).size(), 5u);
}

TEST_F(PlayTest, OutOfRangeNotesAreSilentAndNothingCorrupts) {
  // "OZ" is octave 42: its notes are far above 127 and stay silent for
  // their length; zero lengths and tempo 0 have defined durations.
  MidiFile f = Record("PLAY \"OZ C O4 D0 T0 E\"\n");
  std::vector<Note> notes = Notes(f);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].number, 62);
  ExpectLength(notes[0], 500);
  EXPECT_EQ(notes[1].number, 64);
  ExpectLength(notes[1], 500);
  ExpectAt(notes[1].on, notes[0].on, 500);
}

TEST_F(PlayTest, ProgramEndDuringALongPlaySwitchesEveryNoteOff) {
  // Thread 0 plays for minutes; another thread ends the program.
  auto begin = std::chrono::steady_clock::now();
  testsupport::RunResult r;
  MidiFile f = Record("CREATETHREAD *stopper\n"
                      "PLAY \"T30 C1 D1\", \"E1\", \"G1\"\n"
                      "PRINT \"not reached\"\n"
                      "*stopper\n"
                      "SLEEP 300\n"
                      "END\n",
                      &r);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  EXPECT_LT(seconds, 15.0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.status, 0);
  std::vector<Note> notes = Notes(f); // checks that all were switched off
  EXPECT_EQ(notes.size(), 3u);
  for (const Note &n : notes) EXPECT_LT(n.off - n.on, 3000u);
}

TEST_F(PlayTest, SecondPlayInAnotherThreadWaitsForTheFirst) {
  testsupport::RunResult r;
  MidiFile f = Record("CREATETHREAD *other\n"
                      "PLAY \"C2\"\n"
                      "SLEEP 1500\n"
                      "END\n"
                      "*other\n"
                      "SLEEP 100\n"
                      "PLAY \"D\"\n"
                      "END 2\n",
                      &r);
  std::vector<Note> notes = Notes(f);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].number, 60);
  EXPECT_EQ(notes[1].number, 62);
  EXPECT_GE(notes[1].on, notes[0].off);
}

TEST_F(PlayTest, TheSynthesizerPlaysQuietlyWithoutAudioHardware) {
  // No recorder: the built-in synthesiser, whatever audio output there is
  // (none on a build machine), and nothing on stderr from the libraries.
  testsupport::RunResult r = soundtest::RunSource(
      dir_, "prog", "PLAY \"C16D16\", \"E16\"\nPRINT \"played\"\n", "-u QUILLRUNNER_MIDI_FILE");
  EXPECT_EQ(r.out, "played\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

TEST_F(PlayTest, ThreePlaysAtOnceTakeTurns) {
  MidiFile f = Record("CREATETHREAD *a\n"
                      "CREATETHREAD *b\n"
                      "PLAY \"C4\"\n"
                      "SLEEP 2000\n"
                      "END\n"
                      "*a\n"
                      "PLAY \"D4\"\n"
                      "END 2\n"
                      "*b\n"
                      "PLAY \"E4\"\n"
                      "END 2\n");
  std::vector<Note> notes = Notes(f);
  ASSERT_EQ(notes.size(), 3u);
  // Never two at once: each note starts after the one before it ended.
  EXPECT_GE(notes[1].on, notes[0].off);
  EXPECT_GE(notes[2].on, notes[1].off);
}

TEST_F(PlayTest, LongAndStrangeStringsNeverHang) {
  // 20,000 characters: only 8,192 are read. Surplus strings are ignored.
  std::string source =
      "a$ = String$(20000, \"x\")\n"
      "PLAY a$ + \"C\", \"\", \"zz!!##\", \"1234\", \"D32\", \"\", \"\", \"\", \"E\"\n"
      "PLAY alloc\n"
      "PRINT \"ok\"\n";
  testsupport::RunResult r;
  MidiFile f = Record(source, &r);
  EXPECT_EQ(r.out, "ok\n");
  std::vector<Note> notes = Notes(f);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].number, 62);
}

} // namespace
