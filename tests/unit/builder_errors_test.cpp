// Build errors: each with its message and the place it points at.
#include "builder_test_util.h"

namespace {

struct Expected {
  int line;
  int column;
  std::string message;
};

// Builds SOURCE and returns its first error.
builder::Diagnostic FirstError(const std::string &source) {
  builder::BuildResult r = builder::BuildProgram({{"prog.bas", source}});
  EXPECT_FALSE(r.Ok()) << "no error for: " << source;
  if (r.errors.empty()) return {};
  return r.errors.front();
}

void ExpectError(const std::string &source, const Expected &e) {
  builder::Diagnostic d = FirstError(source);
  EXPECT_EQ(d.file, "prog.bas");
  EXPECT_EQ(d.line, e.line) << source;
  EXPECT_EQ(d.column, e.column) << source;
  EXPECT_EQ(d.message, e.message) << source;
}

} // namespace

TEST(BuilderErrors, LabelsAndLineNumbers) {
  ExpectError("PRINT 1\nGOTO *nowhere\n", {2, 6, "unknown label *nowhere"});
  ExpectError("GOSUB 100\n", {1, 7, "unknown line number 100"});
  ExpectError("*a\n*A\n", {2, 1, "label A is defined twice (first in prog.bas line 1)"});
  ExpectError("GOTO\n", {1, 5, "expected a label (*name) or a line number"});
}

TEST(BuilderErrors, UnclosedAndMismatchedBlocks) {
  ExpectError("FOR i=1 TO 2\nPRINT i\n", {1, 1, "FOR is never closed (NEXT is missing)"});
  ExpectError("x=1\n  IF x THEN\nPRINT\n", {2, 3, "IF is never closed (END IF is missing)"});
  ExpectError("FOR i=1 TO 2\nWHILE x\nNEXT\nWEND\n",
              {3, 1, "NEXT does not fit here: the WHILE opened in line 2 must be closed first"});
  ExpectError("DO\nEND IF\n", {2, 1, "END IF without IF"});
  ExpectError("SUB a\nLOOP\nEND SUB\n", {2, 1, "LOOP without DO"});
  ExpectError("ELSE\n", {1, 1, "ELSE without IF"});
  ExpectError("IF a THEN\nELSE\nELSE\nEND IF\n", {3, 1, "a second ELSE in the same IF block"});
  ExpectError("FOR i=1 TO 2\nNEXT j\n", {2, 6, "NEXT j does not match FOR i in line 1"});
  ExpectError("SUB a\nSUB b\nEND SUB\n", {2, 1, "SUB cannot be defined inside SUB (line 1)"});
}

TEST(BuilderErrors, NextWithoutForAndExitOutsideItsLoop) {
  ExpectError("NEXT\n", {1, 1, "NEXT without FOR"});
  ExpectError("WEND\n", {1, 1, "WEND without WHILE"});
  ExpectError("x=1: EXIT FOR\n", {1, 6, "EXIT FOR outside a FOR loop"});
  ExpectError("WHILE 1\nEXIT DO\nWEND\n", {2, 1, "EXIT DO outside a DO loop"});
  ExpectError("EXIT SUB\n", {1, 1, "EXIT SUB outside a SUB"});
  // A loop of the main program is not reachable from inside a routine.
  ExpectError("FOR i=1 TO 2\nNEXT\nSUB s\nEXIT FOR\nEND SUB\n",
              {4, 1, "EXIT FOR outside a FOR loop"});
}

TEST(BuilderErrors, StringsAndExpressions) {
  ExpectError("PRINT \"abc\n", {1, 7, "unterminated string: the closing \" is missing"});
  ExpectError("x = PRINT\n", {1, 5, "statement keyword PRINT where an expression is needed"});
  ExpectError("IF x = GOTO THEN y=1\n",
              {1, 8, "statement keyword GOTO where an expression is needed"});
  ExpectError("x = (1 + 2\n", {1, 11, "expected ')'"});
  ExpectError("x = 1 +\n", {1, 8, "expected an expression before the end of the statement"});
  ExpectError("x = Left$(a$)\n", {1, 5, "Left$ takes 2 arguments, not 1"});
  ExpectError("x = Date$(1)\n", {1, 5, "Date$ takes no arguments"});
  ExpectError("PRINT a b\n", {1, 9, "expected ';' or ',' between the items"});
  ExpectError("x = Len(\"(\")\n", {1, 9,
                                   "a string with unbalanced parentheses cannot be an argument of "
                                   "a built-in or DEF FN function (the engine counts its "
                                   "parentheses)"});
}

TEST(BuilderErrors, StatementForms) {
  ExpectError("FOR i = 1\nNEXT\n", {1, 10, "expected TO"});
  ExpectError("IF x PRINT 1\n", {1, 6, "expected THEN after the condition"});
  ExpectError("OPEN \"a\" FOR READ AS #1\n",
              {1, 14, "expected INPUT, OUTPUT, APPEND or RANDOM after FOR"});
  ExpectError("OPEN \"a\" AS #10\n",
              {1, 14, "a channel number must be a single digit from 1 to 9"});
  ExpectError("DIM a AS Thing\n", {1, 10, "unknown type Thing"});
  ExpectError("CHAIN \"other.bas\"\n",
              {1, 7, "CHAIN: no source file named \"other.bas\" in this program"});
  ExpectError("IF a THEN FOR i=1 TO 2\n",
              {1, 11, "FOR cannot stand in a single-line IF; use a block IF"});
  ExpectError(
      "DO WHILE x\nLOOP\n",
      {1, 4, "DO WHILE is not supported: put the condition on LOOP, or use WHILE ... WEND"});
  ExpectError("DEFINT C-A\n", {1, 8, "the range C-A runs backwards"});
  ExpectError("KEY FLIP\n", {1, 5, "expected ON, OFF or STOP"});
  ExpectError("foo\n", {1, 4, "foo is no statement; expected '=' for an assignment"});
  ExpectError("10 PRINT: 20 PRINT\n",
              {1, 11, "a line number can only stand at the start of a line"});
  // A function's name begins with a letter.
  ExpectError("DEF FN0a(r) = r\n", {1, 5, "expected FN and the function's name after DEF"});
  ExpectError("DEF FN 0a(r) = r\n", {1, 8, "expected the function's name after DEF FN"});
}

TEST(BuilderErrors, MessageShowsTheLineAndACaret) {
  builder::BuildResult r = builder::BuildProgram({{"m.bas", "x=1\n\tPRINT y +\n"}});
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(builder::FormatDiagnostic(r.errors[0]),
            "m.bas:2:11: error: expected an expression before the end of the statement\n"
            "  \tPRINT y +\n"
            "  \t         ^\n");
}

TEST(BuilderErrors, ColumnsCountCharactersOfUtf8Sources) {
  // Two Japanese characters before the error: the column counts them as one
  // each, the caret moves two places for each (they are wide).
  builder::BuildResult r =
      builder::BuildProgram({{"u.bas", "PRINT \"\xE3\x81\x82\xE3\x81\x84\" ; *\n"}});
  ASSERT_FALSE(r.Ok());
  EXPECT_EQ(r.errors[0].column, 14);
  EXPECT_EQ(r.errors[0].byteOffset, 15u);
}

TEST(BuilderErrors, SeveralErrorsAreAllReported) {
  builder::BuildResult r =
      builder::BuildProgram({{"a.bas", "GOTO *x\nPRINT \"a\nNEXT\n"}, {"b.bas", "WEND\n"}});
  ASSERT_EQ(r.errors.size(), 4u) << buildertest::Errors(r);
  EXPECT_EQ(r.errors[0].line, 2);
  EXPECT_EQ(r.errors[1].line, 3);
  EXPECT_EQ(r.errors[2].file, "b.bas");
  EXPECT_EQ(r.errors[3].message, "unknown label *x");
  EXPECT_TRUE(r.program.empty());
}

// A 0 byte would end the program text where it stands (inside a string it
// cut the program short), so the builder refuses it anywhere.
TEST(BuilderErrors, ZeroBytesAreRefused) {
  using namespace std::string_literals;
  ExpectError("PRINT 1\nPRINT \"a\0b\"\n"s, {2, 9, "a 0 byte cannot stand in a program"});
  ExpectError("DATA 1,\0\n"s, {1, 8, "a 0 byte cannot stand in a program"});
}
