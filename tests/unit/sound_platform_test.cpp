// The multimedia and shell services of the platform layer: the MIDI
// recorder's file, MIDI lengths, the command-line split, MCI commands on a
// generated WAV, and the clipboard.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "platform/clipboard.h"
#include "platform/midi_device.h"
#include "platform/mmsystem.h"
#include "platform/shellapi.h"
#include "platform/smf_length.h"
#include "platform/winbase_memory.h"
#include "sound_test_util.h"
#include "test_support.h"

namespace {

using platform::midi::TimedMessage;

TEST(MidiFileWriter, WritesFormatZeroWithMillisecondTicks) {
  std::vector<TimedMessage> messages = {{0, 0xC0, 6, 0},
                                        {5, 0x90, 60, 96},
                                        {205, 0x90, 60, 0},
                                        {205, 0xF8, 0, 0},
                                        {10205, 0xB1, 7, 100}};
  std::string file = platform::midi::StandardMidiFile(messages);
  std::string expected("MThd\0\0\0\x06\0\0\0\x01\x03\xE8MTrk\0\0\0\x1C", 22);
  expected += std::string("\x00\xFF\x51\x03\x0F\x42\x40", 7);
  expected += std::string("\x00\xC0\x06", 3); // one data byte
  expected += std::string("\x05\x90\x3C\x60", 4);
  expected += std::string("\x81\x48\x90\x3C\x00", 5); // 200 = 1 * 128 + 0x48
  // The system message at 205 is left out; 10000 = 0x4E * 128 + 0x10.
  expected += std::string("\xCE\x10\xB1\x07\x64", 5);
  expected += std::string("\x00\xFF\x2F\x00", 4);
  EXPECT_EQ(file, expected);
  soundtest::MidiFile back = soundtest::ReadMidiFile(file);
  ASSERT_TRUE(back.ok) << back.problem;
  ASSERT_EQ(back.events.size(), 4u);
  EXPECT_EQ(back.events[3].tick, 10205u);
}

TEST(MidiRecorder, RecordsEveryMessageWithItsTimeAndIsTheOnlyDevice) {
  std::string dir = testsupport::TempDir("midi-recorder");
  std::string path = dir + "/r.mid";
  ::setenv("QUILLRUNNER_MIDI_FILE", path.c_str(), 1);
  EXPECT_EQ(midiOutGetNumDevs(), 1u);
  HMIDIOUT out = 0;
  EXPECT_EQ(midiOutOpen(&out, 1, 0, 0, 0), MMSYSERR_BADDEVICEID);
  ASSERT_EQ(midiOutOpen(&out, 0, 0, 0, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutShortMsg(out, 0x00603C90), MMSYSERR_NOERROR);
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  // Running status: the data bytes alone continue the last note message.
  EXPECT_EQ(midiOutShortMsg(out, 0x0000003C), MMSYSERR_NOERROR);
  // Data bytes with the high bit set are kept to seven bits.
  EXPECT_EQ(midiOutShortMsg(out, 0x00FF80C1), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutShortMsg(out + 1, 0x90), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutShortMsg(out, 0x90), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_INVALHANDLE);
  ::unsetenv("QUILLRUNNER_MIDI_FILE");

  soundtest::MidiFile f = soundtest::ReadMidiFile(testsupport::ReadAll(path));
  ASSERT_TRUE(f.ok) << f.problem;
  ASSERT_EQ(f.events.size(), 3u);
  EXPECT_EQ(f.events[0].status, 0x90);
  EXPECT_EQ(f.events[1].status, 0x90);
  EXPECT_EQ(f.events[1].data1, 0x3C);
  EXPECT_EQ(f.events[1].data2, 0);
  EXPECT_GE(f.events[1].tick - f.events[0].tick, 118u);
  EXPECT_LE(f.events[1].tick - f.events[0].tick, 400u);
  EXPECT_EQ(f.events[2].status, 0xC1);
  EXPECT_EQ(f.events[2].data1, 0);
}

TEST(MidiSynthesizer, IsTheLastDeviceAndRunsWithoutAudioHardware) {
  ::unsetenv("QUILLRUNNER_MIDI_FILE");
  UINT count = midiOutGetNumDevs();
  ASSERT_GE(count, 1u);
  HMIDIOUT out = 0;
  ASSERT_EQ(midiOutOpen(&out, count - 1, 0, 0, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutShortMsg(out, 0x000006C0), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutShortMsg(out, 0x00603C90), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutShortMsg(out, 0x00003C90), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutShortMsg(out, 0x00003C90), MMSYSERR_NOERROR); // already off
  EXPECT_EQ(midiOutReset(out), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
  // The mapper opens the same device.
  ASSERT_EQ(midiOutOpen(&out, MIDI_MAPPER, 0, 0, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutOpen(nullptr, 0, 0, 0, 0), MMSYSERR_INVALPARAM);
}

TEST(MidiLength, FollowsTheTempoMap) {
  // 1000 ticks per quarter at the default 500,000 us: 1000 ticks = 500 ms;
  // then a tempo of 1,000,000 us: 1000 more ticks = 1000 ms.
  std::string track;
  track += std::string("\x00\x90\x3C\x40", 4);
  track += std::string("\x87\x68\xFF\x51\x03\x0F\x42\x40", 8); // delta 1000
  track += std::string("\x00\x3E\x40", 3);                     // running status
  track += std::string("\x87\x68\x80\x3C\x00", 5);
  track += std::string("\x00\xFF\x2F\x00", 4);
  std::string file("MThd\0\0\0\x06\0\0\0\x01\x03\xE8MTrk", 18);
  file += static_cast<char>(0);
  file += static_cast<char>(0);
  file += static_cast<char>(0);
  file += static_cast<char>(track.size());
  file += track;
  EXPECT_EQ(platform::midi::StandardMidiFileLength(file), 1500u);
  EXPECT_FALSE(platform::midi::StandardMidiFileLength(file.substr(0, file.size() - 6)));
  EXPECT_FALSE(platform::midi::StandardMidiFileLength("MThd"));
  EXPECT_FALSE(platform::midi::StandardMidiFileLength("RIFF...."));
}

TEST(CommandLineSplit, FollowsTheWindowsRules) {
  using V = std::vector<std::string>;
  auto split = platform::SplitCommandLine;
  EXPECT_EQ(split(""), V{});
  EXPECT_EQ(split("  a  b\tc "), (V{"a", "b", "c"}));
  EXPECT_EQ(split("\"a b\" c"), (V{"a b", "c"}));
  EXPECT_EQ(split("x\"y z\"w"), (V{"xy zw"}));
  EXPECT_EQ(split("\"\""), (V{""}));
  EXPECT_EQ(split("\"a\"\"b\""), (V{"a\"b"}));
  EXPECT_EQ(split("a\\\\b c\\"), (V{"a\\\\b", "c\\"}));
  EXPECT_EQ(split("a\\\"b"), (V{"a\"b"}));
  EXPECT_EQ(split("a\\\\\"b c\""), (V{"a\\b c"}));
  EXPECT_EQ(split("\"open"), (V{"open"}));
}

class MciTest : public ::testing::Test {
protected:
  void SetUp() override {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    dir_ = testsupport::TempDir("mci");
    std::ofstream(dir_ + "/tone.wav", std::ios::binary) << soundtest::MakeWav(400);
    std::ofstream(dir_ + "/bad.wav", std::ios::binary) << "RIFF garbage";
    platform::SetMediaDirectory("Z:" + dir_);
  }
  void TearDown() override { mciSendStringA("close all", nullptr, 0, 0); }
  std::string Query(const std::string &command) {
    char buffer[64] = "x";
    MCIERROR e = mciSendStringA(command.c_str(), buffer, sizeof buffer, 0);
    return e ? "error " + std::to_string(e) : std::string(buffer);
  }
  // Open gives the new device's number.
  bool Opened(const std::string &command) {
    std::string r = Query(command);
    return !r.empty() && r.find_first_not_of("0123456789") == std::string::npos;
  }
  std::string dir_;
};

TEST_F(MciTest, OpenStatusPlayWaitAndClose) {
  EXPECT_TRUE(Opened("open tone.wav type waveaudio alias t"));
  EXPECT_EQ(Query("status t length"), "400");
  EXPECT_EQ(Query("status T mode"), "stopped");
  EXPECT_EQ(Query("set t time format milliseconds"), "");
  auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(Query("play t from 100 wait"), "");
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  begin)
                .count();
  EXPECT_GE(ms, 250); // the 300 ms played, less the audio clock's rounding
  EXPECT_LE(ms, 2000);
  EXPECT_EQ(Query("status t position"), "400");
  EXPECT_EQ(Query("status t mode"), "stopped");
  EXPECT_EQ(Query("play t"), "");
  EXPECT_EQ(Query("status t mode"), "playing");
  EXPECT_EQ(Query("pause t"), "");
  EXPECT_EQ(Query("status t mode"), "paused");
  EXPECT_EQ(Query("resume t"), "");
  EXPECT_EQ(Query("stop t"), "");
  EXPECT_EQ(Query("seek t to end"), "");
  EXPECT_EQ(Query("status t position"), "400");
  EXPECT_EQ(Query("seek t to start"), "");
  EXPECT_EQ(Query("status t position"), "0");
  EXPECT_EQ(Query("close t"), "");
  EXPECT_EQ(Query("status t mode"), "error 263");
}

TEST_F(MciTest, CloseAllEndsTheOutputAndALaterOpenStartsItAgain) {
  EXPECT_TRUE(Opened("open tone.wav alias t"));
  EXPECT_EQ(Query("play t"), "");
  EXPECT_EQ(Query("close all"), "");
  EXPECT_EQ(Query("status t mode"), "error 263");
  EXPECT_TRUE(Opened("open tone.wav alias t"));
  EXPECT_EQ(Query("play t from 300 wait"), "");
  EXPECT_EQ(Query("status t position"), "400");
  EXPECT_EQ(Query("close all"), "");
  EXPECT_EQ(Query("close all"), "");
}

TEST_F(MciTest, ErrorsAreResultsNotSilence) {
  EXPECT_EQ(Query(""), "error 267");
  EXPECT_EQ(Query("play"), "error 292");
  EXPECT_EQ(Query("stop nothing"), "error 263");
  EXPECT_EQ(Query("open missing.wav alias m"), "error 275");
  EXPECT_EQ(Query("open bad.wav alias b"), "error 296");
  EXPECT_EQ(Query("open tone.xyz"), "error 281");
  EXPECT_EQ(Query("open \"tone.wav alias t"), "error 294");
  EXPECT_TRUE(Opened("open tone.wav alias t"));
  EXPECT_EQ(Query("open tone.wav alias T"), "error 289");
  EXPECT_EQ(Query("play t from 500"), "error 282");
  EXPECT_EQ(Query("play t from x"), "error 270");
  EXPECT_EQ(Query("play t sideways"), "error 259");
  EXPECT_EQ(Query("set t time format frames"), "error 293");
  EXPECT_EQ(Query("jump t"), "error 261");
  EXPECT_EQ(Query("status t"), "error 273");
  // A short return buffer gets what fits.
  char small[3];
  EXPECT_EQ(mciSendStringA("status t length", small, sizeof small, 0), 0u);
  EXPECT_STREQ(small, "40");
}

TEST_F(MciTest, PlaysADirectlyNamedFileAndMidiThroughTheSynthesizer) {
  EXPECT_EQ(Query("play tone.wav from 300 wait"), "");
  // It was opened for that play only.
  EXPECT_EQ(Query("status tone.wav mode"), "error 263");
  // A one-note MIDI file: 500 ms by its tempo map.
  std::string track = std::string("\x00\x90\x3C\x40\x87\x68\x80\x3C\x00\x00\xFF\x2F\x00", 13);
  std::string file("MThd\0\0\0\x06\0\0\0\x01\x03\xE8MTrk\0\0\0", 21);
  file += static_cast<char>(track.size());
  std::ofstream(dir_ + "/n.mid", std::ios::binary) << file + track;
  EXPECT_TRUE(Opened("open n.mid alias n"));
  EXPECT_EQ(Query("status n length"), "500");
}

TEST(Clipboard, HoldsTextAndOtherFormatsPerProcess) {
  ASSERT_TRUE(OpenClipboard(0));
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL text = GlobalAlloc(GHND, 8);
  std::memcpy(GlobalLock(text), "ab\0cd", 5);
  GlobalUnlock(text);
  EXPECT_EQ(SetClipboardData(CF_TEXT, text), text);
  EXPECT_EQ(GlobalLock(text), nullptr); // the clipboard freed it
  EXPECT_TRUE(CloseClipboard());
  // Another thread cannot open it while this one has it open.
  ASSERT_TRUE(OpenClipboard(0));
  bool other = true;
  std::thread([&other] { other = OpenClipboard(0); }).join();
  EXPECT_FALSE(other);
  EXPECT_EQ(EnumClipboardFormats(0), CF_TEXT);
  HANDLE got = GetClipboardData(CF_TEXT);
  ASSERT_NE(got, 0u);
  EXPECT_STREQ(static_cast<const char *>(GlobalLock(got)), "ab");
  EXPECT_NE(GetClipboardData(CF_OEMTEXT), 0u);
  EXPECT_EQ(GetClipboardData(CF_BITMAP), 0u);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_EQ(GlobalLock(got), nullptr); // lent blocks end with the close
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetClipboardData(CF_TEXT), 0u); // not open
  // A bitmap only.
  ASSERT_TRUE(OpenClipboard(0));
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_NE(SetClipboardData(CF_BITMAP, GlobalAlloc(GHND, 4)), 0u);
  EXPECT_EQ(EnumClipboardFormats(0), CF_BITMAP);
  EXPECT_EQ(EnumClipboardFormats(CF_BITMAP), 0u);
  EXPECT_EQ(GetClipboardData(CF_TEXT), 0u);
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_EQ(EnumClipboardFormats(0), 0u);
  EXPECT_TRUE(CloseClipboard());
}

} // namespace
