// Programs packed into images and run by the real engine, headless: how a
// run ends, what the user sees, and what bad images do.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "runtime/program_image.h"
#include "runtime/tokens.h"
#include "test_support.h"

namespace {

using testsupport::Ctl;
using testsupport::Pos;
using testsupport::RunProgram;
using testsupport::RunResult;
using testsupport::Stmt;

const std::string kErrorLine =
    "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC: \xE3\x83\x97\xE3\x83\xAD\xE3\x82\xB0\xE3\x83\xA9\xE3"
    "\x83\xA0\xE5\x86\x85\xE3\x81\xA7\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\xE3\x81\x8C\xE8\xB5\xB7"
    "\xE3\x81\x8D\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\n"; // "エラー:
                                                          // プログラム内でエラーが起きました"
const std::string kFileSystemLine =
    "Error: \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x82\xB7\xE3\x82\xB9\xE3\x83\x86"
    "\xE3\x83\xA0 \xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\n"; // "Error: ファイルシステム エラー"

// Joins lines with newlines; Line() gives the position of the newline in
// front of line N (its label position).
struct Text {
  std::vector<std::string> lines;
  std::string str() const {
    std::string s;
    for (size_t i = 0; i < lines.size(); ++i) s += lines[i] + (i + 1 < lines.size() ? "\n" : "");
    return s;
  }
  unsigned Line(size_t n) const {
    if (n == 0) return 0xFFFFFFFFu;
    size_t p = 0;
    for (size_t i = 0; i < n; ++i) p += lines[i].size() + 1;
    return static_cast<unsigned>(p - 1);
  }
};

std::string NoHandler() {
  return Stmt(0x1099);
}

TEST(EngineRun, EmptyProgramsEndNormally) {
  RunResult r = RunProgram("", "empty");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  // All stored bytes 0xFF restore to 0x00: nothing runs.
  r = RunProgram(std::string(64, '\0'), "zeros");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  // Empty statements, labels and no-op statements run quietly to the end.
  r = RunProgram("\n::\n*label\n" + Stmt(tok::kNOP) + ":" + Stmt(tok::kDATA, "1,2") + ":" +
                     Stmt(tok::kBEEP) + ":" + Stmt(tok::kCLEAR) + "\n",
                 "quiet");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

TEST(EngineRun, StatementWithoutHandlerReportsAndFails) {
  RunResult r = RunProgram(NoHandler() + "\n" + NoHandler() + "\n", "nohandler");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, kErrorLine) << "reported once: nothing behind the error runs";
  // A token with no blank or nothing behind the blank reaches no handler either.
  r = RunProgram(std::string("\x11\x7f", 2), "short");
  EXPECT_EQ(r.status, 1);
}

TEST(EngineRun, ErrorTrapJumpsAndTheRunGoesOn) {
  // ON Error GOSUB stores a GOTO to the handler; the rest of the failing line
  // does not run, and the handler ends the program normally.
  Text t{{Stmt(tok::kON, "Error gosub " + Pos(0)), NoHandler() + ":" + NoHandler(), Stmt(tok::kEND),
          "*handler", Stmt(tok::kEND)}};
  t.lines[0] = Stmt(tok::kON, "Error gosub " + Pos(t.Line(3)));
  RunResult r = RunProgram(t.str(), "trap");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

TEST(EngineRun, EndCodes) {
  EXPECT_EQ(RunProgram(Stmt(tok::kEND) + "\n" + NoHandler(), "end").status, 0);
  EXPECT_EQ(RunProgram(Stmt(tok::kEND, "1") + "\n" + NoHandler(), "end1").status, 0);
  // END 2 ends thread 0, the last thread: the program closes.
  EXPECT_EQ(RunProgram(Stmt(tok::kEND, "2.9") + "\n" + NoHandler(), "end2").status, 0);
  // Other codes do nothing: the run goes on into the error.
  EXPECT_EQ(RunProgram(Stmt(tok::kEND, "3") + "\n" + NoHandler(), "end3").status, 1);
}

TEST(EngineRun, JumpToMinusOneRestartsAtTheFirstStatement) {
  // Each pass nests one more GOSUB; the 1024th fails, and the trap ends the
  // run. So the jump to -1 came back to line 0 1023 times.
  Text t{{Stmt(tok::kON, "error goto " + Pos(0)), Stmt(tok::kGOSUB, Pos(0)),
          Ctl(tok::kJump1) + "ffffffff", "*sub", Stmt(tok::kRETURN), "*h", Stmt(tok::kEND)}};
  t.lines[0] = Stmt(tok::kON, "error goto " + Pos(t.Line(5)));
  t.lines[1] = Stmt(tok::kGOSUB, Pos(t.Line(2)));
  RunResult r = RunProgram(t.str(), "restart");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

TEST(EngineRun, GosubDepthLimitAndReturnBehindTheFailedGosub) {
  // 1023 nested GOSUBs work; the 1024th reports the error (no trap: the
  // program fails).
  Text t{{Stmt(tok::kGOSUB, Pos(0)), "*sub", Stmt(tok::kGOSUB, Pos(0)), Stmt(tok::kEND)}};
  t.lines[0] = Stmt(tok::kGOSUB, Pos(t.Line(1)));
  t.lines[2] = Stmt(tok::kGOSUB, Pos(t.Line(1)));
  EXPECT_EQ(RunProgram(t.str(), "depth").status, 1);
  // RETURN without GOSUB is an error.
  EXPECT_EQ(RunProgram(Stmt(tok::kRETURN), "return").status, 1);
}

TEST(EngineRun, DefinitionsAreSkippedAndMissingEndsFail) {
  std::string routine = Ctl(tok::kSubRoutine) + "s(a)\n" + NoHandler() + "\n" + Ctl(tok::kSubEnd) +
                        "\n" + Ctl(tok::kType) + "t\nx AS integer\n" + Ctl(tok::kEndType) + "\n";
  EXPECT_EQ(RunProgram(routine, "skip").status, 0);
  RunResult r = RunProgram(Ctl(tok::kFuncRoutine) + "f()\nbody\n", "noend");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, kErrorLine);
}

TEST(EngineRun, UnresolvedLabelIsAnError) {
  EXPECT_EQ(RunProgram(Stmt(tok::kGOTO, "\xEElabel"), "unresolved").status, 1);
  EXPECT_EQ(RunProgram(Stmt(tok::kGOTO, "zz"), "nodigits").status, 1);
}

TEST(EngineRun, BareEngineAndBadPayloadsShowTheFileSystemError) {
  RunResult r = testsupport::RunCommand("'" + std::string(QUILL_BINARY_DIR) + "/quillrunner'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, kFileSystemLine);

  std::string dir = testsupport::TempDir("badpayload");
  std::string engine = testsupport::ReadAll(std::string(QUILL_BINARY_DIR) + "/quillrunner");
  auto runWith = [&](const std::string &tail) {
    std::string path = dir + "/bad";
    std::ofstream(path, std::ios::binary) << engine << tail;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return testsupport::RunCommand("'" + path + "'");
  };
  // L larger than the file, F above 31, P beyond the payload.
  for (const std::string &tail :
       {std::string("\xFF\xFF\xFF\xF0", 4),
        std::string("\x20"
                    "abc"
                    "\x00\x00\x00\x00\x00\x00\x00\x00\x0b",
                    13),
        std::string("\x00\x00\x00\x00\x00\x00\x10\x00\x00\x00\x07", 11)}) {
    r = runWith(tail);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, kFileSystemLine);
  }
  std::filesystem::remove_all(dir);
}

TEST(EngineRun, ShowFlagHiddenStillRuns) {
  std::string dir = testsupport::TempDir("hidden");
  ASSERT_TRUE(testsupport::Pack(NoHandler(), dir + "/h", 1));
  RunResult r = testsupport::RunCommand("'" + dir + "/h'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, kErrorLine);
  std::filesystem::remove_all(dir);
}

TEST(EngineRun, PackWritesTheOptionsIntoThePayload) {
  std::string dir = testsupport::TempDir("pack");
  std::ofstream(dir + "/prog.txt", std::ios::binary) << Stmt(tok::kEND);
  RunResult r = testsupport::RunCommand(std::string("'") + QUILL_BINARY_DIR + "/quill' pack '" +
                                        dir + "/prog.txt' -o '" + dir +
                                        "/prog' --font-face Gothic --font "
                                        "'-20 0 0 0 700 0 0 0 128 0 0 0 1 10' --hidden");
  ASSERT_EQ(r.status, 0) << r.err;
  image::Payload p;
  ASSERT_TRUE(image::DecodeImage(testsupport::ReadAll(dir + "/prog"), p));
  EXPECT_EQ(p.faceName, "Gothic");
  EXPECT_EQ(p.fontNumbers, "-20 0 0 0 700 0 0 0 128 0 0 0 1 10");
  EXPECT_EQ(p.showFlag, 1);
  EXPECT_EQ(p.program, Stmt(tok::kEND));
  EXPECT_EQ(testsupport::RunCommand("'" + dir + "/prog'").status, 0);
  // Bad options are refused.
  r = testsupport::RunCommand(std::string("'") + QUILL_BINARY_DIR + "/quill' pack '" + dir +
                              "/prog.txt' -o '" + dir + "/x' --font '1 2 3'");
  EXPECT_EQ(r.status, 2);
  std::filesystem::remove_all(dir);
}

TEST(EngineRun, ArbitraryProgramTextsNeverCrash) {
  // Random bytes drawn mostly from the token alphabet; a program may loop
  // for ever, so a time-out is accepted, a crash is not. Twelve rounds keep
  // the test well inside its time under the sanitizers now that every start
  // loads the console font; fuzz/ explores program texts at length.
  std::mt19937 rng(42);
  const std::string alphabet = std::string("\x01\x02\x03\x10\x11\x25\x41\x42\x43\x45\x46\x4b\x4d"
                                           "\x23\x24\x27\x30\x79\n:\" *0123456789abcdef",
                                           38);
  for (int round = 0; round < 12; ++round) {
    std::string text(rng() % 200, '\0');
    for (char &c : text)
      c = rng() % 8 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng());
    std::string dir = testsupport::TempDir("random");
    ASSERT_TRUE(testsupport::Pack(text, dir + "/r"));
    RunResult r = testsupport::RunCommand("'" + dir + "/r'", "", 3);
    EXPECT_TRUE(r.status == 0 || r.status == 1 || r.status == 124)
        << "status " << r.status << " for round " << round;
    std::filesystem::remove_all(dir);
  }
}

} // namespace
