// Statement cutting, the single-line IF cut, and the dispatcher's control
// tokens, run in-process on one engine.
#include <gtest/gtest.h>

#include "flow/conditionals.h"
#include "runtime/arg_text.h"
#include "runtime/dispatch.h"
#include "runtime/engine.h"
#include "runtime/program_end.h"
#include "runtime/run_loop.h"
#include "runtime/tokens.h"
#include "test_support.h"

namespace {

using testsupport::Ctl;
using testsupport::Pos;
using testsupport::Stmt;

class EngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    engine_ = std::make_unique<Engine>();
    InstallEngine(engine_.get());
    engine_->running.store(1);
  }
  void TearDown() override { InstallEngine(nullptr); }
  void Load(const std::string &text) { engine_->program.Load(text); }
  ThreadSlot &Slot(int n = 0) { return engine_->threads.slots[n]; }
  // Cuts every statement from position 0 as the run loop does.
  std::vector<std::string> CutAll() {
    std::vector<std::string> out;
    ProgramPosition pc = 0;
    bool inQuotes = false;
    for (int guard = 0; guard < 100; ++guard) {
      std::string s;
      CutStatement(engine_->program, pc, inQuotes, s);
      out.push_back(s);
      if (engine_->program.At(pc) == 0) break;
      ++pc;
    }
    return out;
  }
  std::unique_ptr<Engine> engine_;
};

TEST_F(EngineTest, ColonsSeparateOutsideQuotesOnly) {
  Load("a=1:b=2\nc=\"x:y\":d\n");
  EXPECT_EQ(CutAll(), (std::vector<std::string>{"a=1", "b=2", "c=\"x:y\"", "d", ""}));
}

TEST_F(EngineTest, UnclosedQuoteCarriesIntoTheNextLine) {
  Load("a=\"x\nb:c\"\nd:e");
  EXPECT_EQ(CutAll(), (std::vector<std::string>{"a=\"x", "b:c\"", "d", "e"}));
}

TEST_F(EngineTest, SingleLineIfRunsToTheEndOfItsLine) {
  std::string ifLine = Stmt(tok::kIF, "1" + Ctl(tok::kThen) + "a:b" + Ctl(tok::kElse) + "c");
  Load(ifLine + "\nx:y");
  EXPECT_EQ(CutAll(), (std::vector<std::string>{ifLine, "x", "y"}));
}

TEST_F(EngineTest, CutAtElseSkipsTheRestOfTheLine) {
  Load("a=1 " + Ctl(tok::kElse) + " b=2\nnext");
  Slot().counter = 0;
  std::string s = "a=1 " + Ctl(tok::kElse) + " b=2";
  CutAtElse(s, 0);
  EXPECT_EQ(s, "a=1");
  EXPECT_EQ(engine_->program.At(Slot().counter), '\n');

  // An escaped 0x01 byte before "\x03" is no ELSE; a nested IF is left alone.
  std::string escaped = "x=\"\x01\x01\x03\"";
  std::string copy = escaped;
  CutAtElse(copy, 0);
  EXPECT_EQ(copy, escaped);
  std::string nested = Stmt(tok::kIF, "1" + Ctl(tok::kThen) + "a" + Ctl(tok::kElse) + "b");
  copy = nested;
  CutAtElse(copy, 0);
  EXPECT_EQ(copy, nested);
}

TEST_F(EngineTest, JumpOperandsSetTheCounter) {
  Load("x\n");
  std::string jump = Ctl(tok::kJump1) + "ffffffff";
  EXPECT_EQ(Dispatch(jump, 0), 1);
  EXPECT_EQ(Slot().counter, 0xFFFFFFFFu);
  jump = Ctl(tok::kJump3) + "1d";
  EXPECT_EQ(Dispatch(jump, 0), 1);
  EXPECT_EQ(Slot().counter, 0x1Du);
  // No digits: the jump goes nowhere.
  jump = Ctl(tok::kJump2);
  EXPECT_EQ(Dispatch(jump, 0), 1);
  EXPECT_EQ(Slot().counter, 0x1Du);
}

TEST_F(EngineTest, DefinitionsAreSkippedToBehindTheirEndMarker) {
  std::string text = Ctl(tok::kSubRoutine) + "s()\nbody\n" + Ctl(tok::kSubEnd) + "\nafter";
  Load(text);
  Slot().counter = 5; // the header's terminator
  std::string head = Ctl(tok::kSubRoutine) + "s()";
  EXPECT_EQ(Dispatch(head, 0), 1);
  EXPECT_EQ(Slot().counter, text.find(Ctl(tok::kSubEnd)) + 2);

  std::string type = Ctl(tok::kType) + "t";
  Load(type + "\nmember\n" + Ctl(tok::kEndType) + "\n");
  Slot().counter = 3;
  EXPECT_EQ(Dispatch(type, 0), 1);
  EXPECT_EQ(Slot().counter, type.size() + 8 + 2);

  for (uint8_t end : {tok::kSubEnd, tok::kSubExit, tok::kFuncEnd, tok::kFuncExit}) {
    std::string s = Ctl(end);
    EXPECT_EQ(Dispatch(s, 0), 0);
  }
}

TEST_F(EngineTest, MissingEndMarkerIsAnErrorThatStopsTheRun) {
  engine_->errorTrap.Set("trap");
  Load(Ctl(tok::kFuncRoutine) + "f()\nbody\n");
  Slot().counter = 5;
  std::string head = Ctl(tok::kFuncRoutine) + "f()";
  EXPECT_EQ(Dispatch(head, 0), 0);
  EXPECT_EQ(engine_->pendingStatement.Text(), "trap");
}

TEST_F(EngineTest, ElseWithBlockJumpsToEndIf) {
  Load("x\n");
  std::string s = Ctl(tok::kElse) + Ctl(tok::kBlock) + "0000002a";
  EXPECT_EQ(Dispatch(s, 0), 1);
  EXPECT_EQ(Slot().counter, 0x2Au);
  s = Ctl(tok::kElse) + " anything";
  Slot().counter = 7;
  EXPECT_EQ(Dispatch(s, 0), 1);
  EXPECT_EQ(Slot().counter, 7u);
  engine_->errorTrap.Set("trap");
  s = Ctl(tok::kElse) + Ctl(tok::kBlock) + "ffffffff";
  EXPECT_EQ(Dispatch(s, 0), 0);
  EXPECT_EQ(engine_->pendingStatement.Text(), "trap");
}

TEST_F(EngineTest, EmptyLabelAndNoHandlerStatements) {
  Load("x\n");
  engine_->errorTrap.Set("trap");
  std::string s;
  EXPECT_EQ(Dispatch(s, 0), 1);
  s = "*label";
  EXPECT_EQ(Dispatch(s, 0), 1);
  EXPECT_FALSE(engine_->pendingStatement.NotEmpty());
  s = Stmt(0x1099, "arg");
  EXPECT_EQ(Dispatch(s, 0), 1) << "the run goes on after a code without handler";
  EXPECT_EQ(engine_->pendingStatement.Text(), "trap");
  engine_->pendingStatement.Clear();
  s = Stmt(tok::kIF, "1");
  EXPECT_EQ(Dispatch(s, 0), 0) << "IF without THEN stops the run";
  EXPECT_EQ(engine_->pendingStatement.Text(), "trap");
}

TEST_F(EngineTest, FindMarkerStopsAtTheEndOfTheText) {
  Load("ab" + Ctl(0x46) + "cd");
  EXPECT_EQ(FindMarker(0, 0x46), 4u);
  EXPECT_EQ(FindMarker(3, 0x46), 0u);
  EXPECT_EQ(FindMarker(0x7FFFFFF0u, 0x46), 0u);
}

TEST_F(EngineTest, SingleLineIfFalsePairsElseWithItsOwnThen) {
  // IF 0 THEN IF 1 THEN a ELSE b ELSE c
  std::string line = Stmt(tok::kIF, "0" + Ctl(tok::kThen) + Stmt(tok::kIF, "1") + Ctl(tok::kThen) +
                                        "a" + Ctl(tok::kElse) + "b" + Ctl(tok::kElse) + "  c");
  Load(line + "\n");
  Slot().counter = static_cast<ProgramPosition>(line.size());
  EvalIf("0", 0, line.size(), IfMode::Evaluate);
  EXPECT_EQ(Slot().ifLineFlag, 1);
  EXPECT_EQ(Slot().counter + 1, line.size() - 1) << "continues at the outer ELSE part";

  // IF 0 THEN IF 1 THEN a ELSE b: the only ELSE belongs to the inner IF.
  std::string inner = Stmt(tok::kIF, "0" + Ctl(tok::kThen) + Stmt(tok::kIF, "1") + Ctl(tok::kThen) +
                                         "a" + Ctl(tok::kElse) + "b");
  Load(inner + "\n");
  Slot().ifLineFlag = 0;
  Slot().counter = static_cast<ProgramPosition>(inner.size());
  EvalIf("0", 0, inner.size(), IfMode::Evaluate);
  EXPECT_EQ(Slot().ifLineFlag, 0);
  EXPECT_EQ(Slot().counter, inner.size());
}

TEST_F(EngineTest, BlockIfTargets) {
  std::string line =
      Stmt(tok::kIF, "0" + Ctl(tok::kThen) + Ctl(tok::kBlock) + "ffffffff " + Pos(0x40));
  Load(line + "\n");
  Slot().counter = static_cast<ProgramPosition>(line.size());
  EvalIf("0", 0, line.size(), IfMode::Evaluate);
  EXPECT_EQ(Slot().counter, 0x40u) << "no ELSE branch: on to END IF";
  Slot().counter = static_cast<ProgramPosition>(line.size());
  EvalIf("1", 0, line.size(), IfMode::Evaluate);
  EXPECT_EQ(Slot().counter, line.size()) << "true: the block runs";
  EXPECT_EQ(Slot().ifLineFlag, 0);
  // ELSEIF SKIP jumps to the END IF target of the line's BLOCK.
  std::string skip = Ctl(tok::kElseIfSkip) + Ctl(tok::kElseIf) + "1" + Ctl(tok::kThen) +
                     Ctl(tok::kBlock) + Pos(0x30) + " " + Pos(0x50);
  Load(skip + "\n");
  Slot().counter = 2;
  std::string head = skip.substr(0, 2);
  EXPECT_EQ(Dispatch(head, 0), 1);
  EXPECT_EQ(Slot().counter, 0x50u);
}

TEST_F(EngineTest, ArgCountCountsTopLevelArguments) {
  EXPECT_TRUE(ArgCount("a,(b,c),\"d,e\"", 3, false));
  EXPECT_FALSE(ArgCount("a,b", 3, false));
  EXPECT_FALSE(engine_->errorReported.load());
  engine_->errorTrap.Set("trap");
  EXPECT_FALSE(ArgCount("a)", 1, false)) << "an unbalanced ')' is always an error";
  EXPECT_EQ(engine_->pendingStatement.Text(), "trap");
}

TEST_F(EngineTest, ProgramEndRunsOnce) {
  Load("text");
  engine_->globals.doubles.push_back(1);
  ProgramEnd();
  EXPECT_EQ(engine_->running.load(), 0);
  EXPECT_FALSE(engine_->program.Loaded());
  EXPECT_TRUE(engine_->globals.doubles.empty());
  // A second close (a WM_CLOSE arriving during shutdown) releases nothing.
  Load("again");
  ProgramEnd();
  EXPECT_TRUE(engine_->program.Loaded());
}

} // namespace
