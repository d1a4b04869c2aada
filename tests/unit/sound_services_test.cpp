// MCI and SHELL end to end: programs run headless in a directory with a
// generated WAV file and a script to start.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "sound_test_util.h"
#include "test_support.h"

namespace {

class ServicesTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = testsupport::TempDir(std::string("services-") +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::ofstream(dir_ + "/tone.wav", std::ios::binary) << soundtest::MakeWav(300);
    std::ofstream(dir_ + "/a,b.wav", std::ios::binary) << soundtest::MakeWav(100);
  }
  testsupport::RunResult Run(const std::string &source) {
    // No audio driver is chosen here: without a device the engine falls
    // back to a silent one by itself, and says nothing on stderr.
    return soundtest::RunSource(dir_, "prog", source, "-u SDL_AUDIODRIVER");
  }
  std::string dir_;
};

TEST_F(ServicesTest, MciPlayWithNotifySetsTheVariableAfterTheMedium) {
  testsupport::RunResult r = Run("MCI \"open tone.wav type waveaudio alias t\"\n"
                                 "MCI \"play t notify\", done\n"
                                 "n = 0\n"
                                 "WHILE done = 0 AND n < 1000\n"
                                 "  SLEEP 10: n = n + 1\n"
                                 "WEND\n"
                                 "PRINT done\n"
                                 "IF n >= 5 THEN PRINT \"waited\"\n"
                                 "MCI \"close t\"\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, " 1\nwaited\n");
}

TEST_F(ServicesTest, ASecondNotifyRedirectsAndStopEndsTheWait) {
  testsupport::RunResult r = Run("MCI \"open tone.wav alias t\"\n"
                                 "MCI \"play t notify\", first\n"
                                 "MCI \"play t from 0 notify\", second\n"
                                 "n = 0\n"
                                 "WHILE second = 0 AND n < 1000: SLEEP 10: n = n + 1: WEND\n"
                                 "SLEEP 100\n"
                                 "PRINT first; second\n"
                                 "MCI \"play t notify\", third\n"
                                 "MCI \"stop t\"\n"
                                 "n = 0\n"
                                 "WHILE third = 0 AND n < 1000: SLEEP 10: n = n + 1: WEND\n"
                                 "PRINT third\n"
                                 "' A comma inside quotes belongs to the command.\n"
                                 "MCI \"open \"\"a,b.wav\"\" alias q\"\n"
                                 "MCI \"play q wait\"\n"
                                 "PRINT \"played\"\n"
                                 "MCI \"close all\"\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, " 0  1\n 1\nplayed\n");
}

TEST_F(ServicesTest, MciErrorsAreRuntimeErrors) {
  testsupport::RunResult r = Run("ON ERROR GOTO *e1\n"
                                 "MCI \"play nothing\"\n"
                                 "*e1\n"
                                 "PRINT \"unknown device\"\n"
                                 "ON ERROR GOTO *e2\n"
                                 "MCI \"open missing.wav alias m\"\n"
                                 "*e2\n"
                                 "PRINT \"missing file\"\n"
                                 "ON ERROR GOTO *e3\n"
                                 "MCI \"fly away\"\n"
                                 "*e3\n"
                                 "PRINT \"unknown command\"\n"
                                 "ON ERROR GOTO *e4\n"
                                 "MCI \"open tone.wav alias t\"\n"
                                 "MCI \"close all\"\n"
                                 "MCI \"stop t\"\n"
                                 "END\n"
                                 "*e4\n"
                                 "PRINT \"closed by close all\"\n");
  EXPECT_EQ(r.out, "unknown device\nmissing file\nunknown command\nclosed by close all\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

TEST_F(ServicesTest, MciWaitEndsAtProgramEnd) {
  // A minute long: far longer than the run, also under the slow sanitizer
  // builds.
  std::ofstream(dir_ + "/long.wav", std::ios::binary) << soundtest::MakeWav(60000, 8000);
  auto begin = std::chrono::steady_clock::now();
  testsupport::RunResult r = Run("CREATETHREAD *stop\n"
                                 "MCI \"play long.wav wait\"\n"
                                 "PRINT \"not reached\"\n"
                                 "*stop\n"
                                 "SLEEP 300\n"
                                 "PRINT \"ending\"\n"
                                 "END\n");
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  EXPECT_EQ(r.out, "ending\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_LT(seconds, 45.0);
}

TEST_F(ServicesTest, ShellStartsAScriptWithArgumentsAndTheEnvironment) {
  std::string script = dir_ + "/run me.sh";
  std::ofstream(script) << "#!/bin/sh\n"
                           "printf '%s|%s|%s|%s\\n' \"$#\" \"$1\" \"$2\" \"$QR_SHELL_VAR\" "
                           "> shell-part\n"
                           "mv shell-part shell-out.txt\n";
  ::chmod(script.c_str(), 0755);
  testsupport::RunResult r = Run("ENVIRON \"QR_SHELL_VAR\", \"from basic\"\n"
                                 "SHELL \"run me.sh\", \"\"\"a b\"\" c\"\n"
                                 "SHELL \"no such file.sh\"\n"
                                 "PRINT \"returned\"\n");
  EXPECT_EQ(r.out, "returned\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  std::string out;
  for (int i = 0; i < 500 && out.empty(); ++i) {
    out = testsupport::ReadAll(dir_ + "/shell-out.txt");
    if (out.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(out, "2|a b|c|from basic\n");
}

} // namespace
