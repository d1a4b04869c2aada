// DEFFN functions and routine calls, run in-process: routines on their own
// BASIC thread slot over hand-built program texts.
#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "data/variables.h"
#include "engine_fixture.h"
#include "expr/call_depth.h"
#include "expr/function_statements.h"
#include "expr/pre_evaluate.h"
#include "functions_util.h"
#include "runtime/reset.h"
#include "runtime/run_loop.h"
#include "runtime/tokens.h"
#include "test_support.h"

namespace {

using fntest::Fn;
using fntest::UserFn;
using testsupport::Ctl;
using testsupport::Pos;
using testsupport::Stmt;

class UserFunctionTest : public EngineFixture {
protected:
  void Def(std::string arg) { DEFFN(arg, 0); }
  std::string Pre(std::string text) {
    PreEvaluate(text, 0);
    return text;
  }
};

TEST_F(UserFunctionTest, CallBindsParametersAsOrdinaryVariables) {
  Def("f(x) = x * 2");
  EXPECT_EQ(Pre("y=" + UserFn("f", "3")), "y=6");
  EXPECT_EQ(GetNumeric("x"), 3) << "the parameter stays set after the call";
  SetNumeric("x", 10);
  EXPECT_EQ(Pre("y=" + UserFn("f", "x+1")), "y=22");
  EXPECT_EQ(GetNumeric("x"), 11);
  EXPECT_FALSE(TakeError());
}

TEST_F(UserFunctionTest, DefinitionReplacesOnlyTheSameName) {
  Def("f(x)=x*2");
  Def("ff(x)=x*100");
  Def("f(x)=x+1");
  EXPECT_EQ(Pre(UserFn("f", "3")), "4");
  EXPECT_EQ(Pre(UserFn("ff", "3")), "300");
  EXPECT_EQ(Pre(UserFn("F", "3")), "0") << "names compare with their letter case";
  EXPECT_TRUE(TakeError());
}

TEST_F(UserFunctionTest, StringFunctionsAndBodiesWithCalls) {
  Def("s$(a$, n) = a$ + \"!\" + " + Fn(0x323, "n"));
  EXPECT_EQ(Pre("r$=" + UserFn("s$", "\"hi\", -0.5")), "r$=\"hi!-.5\"");
  // The body keeps a token whose code byte is a blank (Abs, 0x220), and
  // may call other DEFFN functions.
  Def("g(x) = " + Fn(0x220, "x") + " + " + UserFn("s", "x"));
  Def("s(v) = v * 10");
  EXPECT_EQ(Pre(UserFn("g", "-2")), "-18");
  EXPECT_FALSE(TakeError());
}

TEST_F(UserFunctionTest, NoParametersAndWrongArgumentCounts) {
  Def("pi() = 3.5");
  EXPECT_EQ(Pre(UserFn("pi", "")), "3.5");
  Def("two(a, b) = a - b");
  EXPECT_EQ(Pre(UserFn("two", "5, 3")), "2");
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Pre(UserFn("two", "5")), "0");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Pre(UserFn("two", "1,2,3")), "0");
  EXPECT_TRUE(TakeError());
}

TEST_F(UserFunctionTest, DefinitionErrorsAndTheFullTable) {
  Def("nothing(x)");
  EXPECT_TRUE(TakeError());
  for (int i = 0; i < 255; ++i) Def("f" + std::to_string(i) + "(x)=x+" + std::to_string(i));
  EXPECT_FALSE(TakeError());
  Def("extra(x)=x");
  EXPECT_TRUE(TakeError()) << "all 255 entries hold other names";
  Def("f254(x)=x*2");
  EXPECT_FALSE(TakeError()) << "a known name can still be replaced";
  EXPECT_EQ(Pre(UserFn("f254", "4")), "8");
  ResetRuntime();
  EXPECT_EQ(Pre(UserFn("f1", "4")), "0") << "CLEAR removes every definition";
  EXPECT_TRUE(TakeError());
}

TEST_F(UserFunctionTest, SelfCallingFunctionEndsInAnError) {
  Def("f(x) = " + UserFn("f", "x+1") + " + 1");
  std::thread t(
      [&] { EXPECT_EQ(Pre("y=" + UserFn("f", "0")), "y=" + std::to_string(kMaxCallDepth)); });
  t.join();
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(GetNumeric("x"), kMaxCallDepth - 1);
}

// Routine tests: the program runs on slot 1 (slot 0 would also run the
// error trap's statement).
constexpr ThreadIndex kSlot = 1;

// Routine call tokens with the header's position filled in from HEADERS.
struct Routines {
  std::map<std::string, unsigned> headers;
  std::string Call(const std::string &name, const std::string &args, bool value = true) const {
    auto it = headers.find(name);
    unsigned p = it == headers.end() ? 0 : it->second;
    return std::string("\x01") + (value ? "\x63" : "\x62") + name + "\x02" + Pos(p) + "(" + args +
           ")";
  }
};

class RoutineTest : public EngineFixture {
protected:
  // Builds the text twice: the second time with the positions of the headers
  // found in the first (the calls have the same length both times).
  template <typename Build> void Load(Build build) {
    Routines r;
    std::string text = build(r);
    for (uint8_t kind : {tok::kSubRoutine, tok::kFuncRoutine}) {
      for (size_t at = text.find(std::string("\x01") + static_cast<char>(kind));
           at != std::string::npos;
           at = text.find(std::string("\x01") + static_cast<char>(kind), at + 1)) {
        size_t open = text.find('(', at);
        r.headers[text.substr(at + 2, open - at - 2)] = static_cast<unsigned>(open);
      }
    }
    engine_->program.Load(build(r));
  }
  void Run() {
    std::thread t([] {
      BindCurrentThread(kSlot);
      E().threads.slots[kSlot].counter = 0;
      try {
        RunLoop(kSlot);
      } catch (const ThreadExit &) {
      }
    });
    t.join();
    EXPECT_EQ(engine_->threads.slots[kSlot].scopeDepth, -1) << "every local table was released";
  }
  static std::string Lines(std::initializer_list<std::string> lines) {
    std::string s;
    for (const std::string &l : lines) s += l + "\n";
    return s;
  }
};

TEST_F(RoutineTest, ValueCallsAndWholeStatementCalls) {
  Load([](const Routines &r) {
    return Lines({"n=4", "r=" + r.Call("Twice", "n+1") + "+1", "g=0", r.Call("Bump", "n*2", false),
                  r.Call("Bump", "1", false) + ":after=1", Ctl(tok::kFuncRoutine) + "Twice(n)",
                  "Twice=n*2", Ctl(tok::kFuncEnd), Ctl(tok::kSubRoutine) + "Bump(k)", "g=g+k",
                  Ctl(tok::kSubEnd)});
  });
  Run();
  EXPECT_FALSE(TakeError());
  // The argument n+1 is read in the caller's scope, not as the parameter n.
  EXPECT_EQ(GetNumeric("r"), 11);
  EXPECT_EQ(GetNumeric("g"), 9);
  EXPECT_EQ(GetNumeric("after"), 1) << "the statement after a call on the same line runs";
  EXPECT_EQ(GetNumeric("k"), 0) << "parameters are local";
  EXPECT_EQ(GetNumeric("n"), 4);
}

TEST_F(RoutineTest, RecursionGivesEachLevelItsOwnLocals) {
  Load([](const Routines &r) {
    return Lines({"s=0", "r=" + r.Call("F", "3"), Ctl(tok::kFuncRoutine) + "F(n)", "loc=n*10",
                  Stmt(tok::kIF, "n>0" + Ctl(tok::kThen) + "t=" + r.Call("F", "n-1")), "s=s+loc",
                  "F=loc+t", Ctl(tok::kFuncEnd)});
  });
  Run();
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(GetNumeric("s"), 60) << "each level still sees its own loc after the inner call";
  EXPECT_EQ(GetNumeric("r"), 60);
  EXPECT_EQ(GetNumeric("loc"), 0);
}

TEST_F(RoutineTest, TypedParametersStringsAndValueTypes) {
  Load([](const Routines &r) {
    std::string as = Ctl(tok::kAs);
    return Lines({"a$=" + r.Call("Greet$", "\"hi\", 2.7"), "i=" + r.Call("Half", "7"),
                  "e$=" + r.Call("Empty$", ""),
                  Ctl(tok::kFuncRoutine) + "Greet$(s" + as + "String, n" + as + "Integer)",
                  "Greet$=s+" + Fn(0x321, "n") + "+\"!\"", Ctl(tok::kFuncEnd),
                  Ctl(tok::kFuncRoutine) + "Half(v)" + as + "Integer", "Half=v/2",
                  Ctl(tok::kFuncEnd), Ctl(tok::kFuncRoutine) + "Empty$()", Ctl(tok::kFuncEnd)});
  });
  Run();
  EXPECT_FALSE(TakeError());
  ASSERT_NE(GetString("a$"), nullptr);
  EXPECT_EQ(*GetString("a$"), "hi  !") << "the Integer parameter truncated 2.7";
  EXPECT_EQ(GetNumeric("i"), 3) << "the value variable is an Integer";
  ASSERT_NE(GetString("e$"), nullptr);
  EXPECT_EQ(*GetString("e$"), "") << "a value never set is empty";
}

TEST_F(RoutineTest, RecordParametersAreDeepCopies) {
  Load([](const Routines &r) {
    std::string as = Ctl(tok::kAs);
    return Lines({"", Ctl(tok::kType) + "Pt", "x" + as + "Double", "label" + as + "String",
                  Ctl(tok::kEndType), Stmt(tok::kDIM, "p" + as + Pos(1)), "p.x=1",
                  "p.label=\"orig\"", "seen=0", "seenLabel$=\"\"", r.Call("Change", "p", false),
                  Ctl(tok::kSubRoutine) + "Change(q" + as + Pos(1) + ")", "seen=q.x",
                  "seenLabel$=q.label", "q.x=5", "q.label=\"changed\"", Ctl(tok::kSubEnd)});
  });
  Run();
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(GetNumeric("seen"), 1);
  ASSERT_NE(GetString("seenLabel$"), nullptr);
  EXPECT_EQ(*GetString("seenLabel$"), "orig");
  EXPECT_EQ(GetNumeric("p.x"), 1) << "the caller's record is unchanged";
  ASSERT_NE(GetString("p.label"), nullptr);
  EXPECT_EQ(*GetString("p.label"), "orig");
}

TEST_F(RoutineTest, WrongArgumentCountsAndBadHeadersReportErrors) {
  Load([](const Routines &r) {
    return Lines({"ran=0", "a=" + r.Call("Two", "1") + "+1", "b=" + r.Call("Two", "1,2,3") + "+1",
                  "c=\x01\x63Two\x02" + Pos(0) + "(1,2)+1", "d=" + r.Call("Two", "1,2"),
                  Ctl(tok::kFuncRoutine) + "Two(x,y)", "Two=x+y", "ran=ran+1", Ctl(tok::kFuncEnd)});
  });
  Run();
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(GetNumeric("a"), 1);
  EXPECT_EQ(GetNumeric("b"), 1);
  EXPECT_EQ(GetNumeric("c"), 1) << "no header at position 0";
  EXPECT_EQ(GetNumeric("d"), 3);
  EXPECT_EQ(GetNumeric("ran"), 1) << "only the good call ran the body";
}

TEST_F(RoutineTest, RunawayRecursionEndsInAnError) {
  Load([](const Routines &r) {
    return Lines({"c=0", r.Call("Deep", "1", false), "done=1", Ctl(tok::kSubRoutine) + "Deep(n)",
                  "c=c+1", r.Call("Deep", "n+1", false), Ctl(tok::kSubEnd)});
  });
  Run();
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(GetNumeric("c"), kMaxCallDepth);
  EXPECT_EQ(GetNumeric("done"), 1) << "every level returned to its caller";
}

} // namespace
