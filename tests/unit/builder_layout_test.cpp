// The program text built for each construct, byte for byte. The expected
// texts are written from the token layouts by hand, positions counted out.
#include "builder_test_util.h"

using buildertest::Build;
using buildertest::Show;

#define EXPECT_TEXT(source, expected)                                                              \
  do {                                                                                             \
    std::string want_(expected, sizeof(expected) - 1);                                             \
    std::string got_ = Build(source);                                                              \
    EXPECT_EQ(Show(got_), Show(want_));                                                            \
  } while (0)

TEST(BuilderLayout, WhileWorkedExample) {
  std::string text = Build("i=0\nWHILE i<3\ni=i+1\nWEND\n");
  std::string want("i=0\n\x10\x34 0000001di<3\ni=i+1\n\x10\x35 3\n", 30);
  ASSERT_EQ(Show(text), Show(want));
  EXPECT_EQ(text.find("\x10\x34"), 4u);
  EXPECT_EQ(text.find("\x10\x35"), 25u);
  EXPECT_EQ(text[29], '\n'); // the WHILE's exit position 0x1d
  EXPECT_EQ(text[3], '\n');  // the WEND's operand 3
  EXPECT_EQ(text.size(), 30u);
}

TEST(BuilderLayout, ForNext) {
  // FOR at 0 (head ffffffff), NEXT at 26..36, its line end 37 = 0x25.
  EXPECT_TEXT("FOR i = 1 TO 3\n  PRINT i\nNEXT\n",
              "\x10\x31 00000025 i=1 to 3\n\x10\x10 i\n\x10\x32 ffffffff\n");
  EXPECT_TEXT("FOR k=10 TO 1 STEP -2:NEXT k\n",
              "\x10\x31 00000029 k=10 to 1 step -2:\x10\x32 ffffffff\n");
}

TEST(BuilderLayout, NextClosingTwoLoops) {
  // FOR j's head is the line end at 24; NEXT j ends at the ":" (51), NEXT i
  // at the line end (56).
  EXPECT_TEXT("x=0\nFOR i=1 TO 2\nFOR j=1 TO 2\nNEXT j, i\n",
              "x=0\n\x10\x31 00000038 i=1 to 2\n\x10\x31 00000033 j=1 to 2\n"
              "\x10\x32 18:\x10\x32 3\n");
}

TEST(BuilderLayout, BlockIfElseIfElse) {
  EXPECT_TEXT("IF a THEN\nx=1\nELSEIF b THEN\nx=2\nELSE\nx=3\nEND IF\n",
              "\x10\x25 a\x01\x02\x01\x43"
              "00000020 0000004e\n"
              "x=1\n"
              "\x01\x41:\x01\x42"
              "b\x01\x02\x01\x43"
              "0000004a 0000004e\n"
              "x=2\n"
              "\x01\x03\x01\x43"
              "0000004e\n"
              "x=3\n"
              "\x01\x44\n");
}

TEST(BuilderLayout, BlockIfWithoutElse) {
  EXPECT_TEXT("IF a THEN\n  x=1\nEND IF\n", "\x10\x25 a\x01\x02\x01\x43"
                                            "ffffffff 0000001d\nx=1\n\x01\x44\n");
  // Statements may follow ELSE on its line.
  EXPECT_TEXT("IF a THEN\nELSE x=1\nEND IF\n", "\x10\x25 a\x01\x02\x01\x43"
                                               "00000026 0000002a\n\x01\x03\x01\x43"
                                               "0000002a:x=1\n\x01\x44\n");
}

TEST(BuilderLayout, SingleLineIf) {
  EXPECT_TEXT("10 x=1\nIF x THEN 10 ELSE PRINT 2: x=3\n",
              "x=1\n\x10\x25 x\x01\x02\x10\x23 ffffffff\x01\x03\x10\x10 2:x=3\n");
  EXPECT_TEXT("*top\nIF x>1 GOTO *top\n", "\x10\x25 x>1\x01\x02\x10\x23 ffffffff\n");
  // The ELSE belongs to the inner IF.
  EXPECT_TEXT("IF a THEN IF b THEN x=1 ELSE x=2\n",
              "\x10\x25 a\x01\x02\x10\x25 b\x01\x02x=1\x01\x03x=2\n");
}

TEST(BuilderLayout, DoLoopAndExits) {
  EXPECT_TEXT("x=0\nDO\nx=x+1\nLOOP WHILE x<3\n", "x=0\nx=x+1\n\x10\x26 00000003whilex<3\n");
  EXPECT_TEXT("DO\nIF x THEN EXIT DO\nLOOP\n", "\x10\x25 x\x01\x02\x01\x4e"
                                               "0000001c\n\x10\x26 ffffffff\n");
  EXPECT_TEXT("FOR i=1 TO 2\nEXIT FOR\nNEXT\n", "\x10\x31 0000002b i=1 to 2\n\x01\x4d"
                                                "0000002b\n\x10\x32 ffffffff\n");
  EXPECT_TEXT("WHILE 1\nEXIT WHILE\nWEND\n", "\x10\x34 00000023"
                                             "1\n\x01\x4f"
                                             "00000023\n\x10\x35 ffffffff\n");
  EXPECT_TEXT("x=1\nDO\nLOOP UNTIL x\n", "x=1\n\x10\x26 00000003untilx\n");
}

TEST(BuilderLayout, SubAndCall) {
  EXPECT_TEXT("CALL s(1)\nSUB s(a)\nPRINT a\nEXIT SUB\nEND SUB\n",
              "\x01\x62s\x02"
              "00000013(1)\n\x01\x45s(a)\n\x10\x10 a\n\x01\x47\n\x01\x46\n");
  // A bare call without parentheses and one without arguments.
  EXPECT_TEXT("s 1, 2\nt\nSUB s(a, b)\nEND SUB\nSUB t\nEND SUB\n",
              "\x01\x62s\x02"
              "00000024(1,2)\n\x01\x62t\x02"
              "00000030()\n\x01\x45s(a,b)\n\x01\x46\n\x01\x45t()\n\x01\x46\n");
}

TEST(BuilderLayout, FunctionWithTypesAndValueCall) {
  EXPECT_TEXT("y=f(2)\nFUNCTION f(x AS Integer) AS Double\nF=x*2\nEXIT FUNCTION\nEND FUNCTION\n",
              "y=\x01\x63"
              "f\x02"
              "00000015(2)\n\x01\x48"
              "f(x\x01\x36Integer)\x01\x36"
              "Double\nf=x*2\n\x01\x4a\n\x01\x49\n");
}

TEST(BuilderLayout, TypeAndDimAs) {
  // The TYPE is kept off position 0 by an empty first line.
  EXPECT_TEXT("TYPE P\n  x AS Integer\n  n AS String\nEND TYPE\nDIM a AS P, b(3) AS Long\n",
              "\n\x01\x4bP\nx\x01\x36Integer\nn\x01\x36String\n\x01\x4c\n"
              "\x10\x61 a\x01\x36"
              "00000001,b(3)\x01\x36Integer\n");
  EXPECT_TEXT("DIM q AS Pt\nTYPE Pt: x AS Single: y AS Double: END TYPE\n",
              "\x10\x61 q\x01\x36"
              "0000000f\n\x01\x4bPt\nx\x01\x36Single\ny\x01\x36"
              "Double\n\x01\x4c\n");
  // A remark among the members writes nothing (it once looped for ever).
  EXPECT_TEXT("TYPE P\n  REM the point\n  x AS Integer: REM x\nEND TYPE\n",
              "\n\x01\x4bP\nx\x01\x36Integer\n\x01\x4c\n");
}

TEST(BuilderLayout, DefStatements) {
  EXPECT_TEXT("DEFINT A-C, x\nDEFSTR s\nDEFSNG F\nDEFDBL d-e\n",
              "\x10\x63 A-C,Xint\n\x10\x63 Sstr\n\x10\x63 Fsng\n\x10\x63 D-Edbl\n");
  EXPECT_TEXT("DEF FNsq(x) = x*x\nPRINT FNsq(2); FN sq(3)\nDEF FN pi = 3.14\ny=FNpi\n",
              "\x10\x74 sq(x)=x*x\n\x10\x10 \x01\x61\x16\x10sq(2);\x01\x61\x16\x10sq(3)\n"
              "\x10\x74 pi()=3.14\ny=\x01\x61\x16\x10pi()\n");
}

TEST(BuilderLayout, OperatorsAndFunctions) {
  EXPECT_TEXT("x = a MOD 2 AND NOT b OR c XOR d\n", "x=a\x01\x31"
                                                    "2\x01\x26\x01\x35"
                                                    "b\x01\x33"
                                                    "c\x01\x34"
                                                    "d\n");
  EXPECT_TEXT(
      "y$ = Left$(a$, 2) + spc(3) + DATE$ + chr$(65)\n",
      "y$=\x01\x61\x03\x1c(a$,2)+\x01\x61\x03\x21(3)+\x01\x61\x03\x13+\x01\x61\x03\x12(65)\n");
  EXPECT_TEXT("n = MAKELONG(1, 2) + Instr(1, a$, \"x\") + EOF(#1) + Rnd\n",
              "n=\x01\x61\x02\x31(1,2)+\x01\x61\x03\x17(1,a$,\"x\")+\x01\x61\x04\x11(1)+"
              "\x01\x61\x02\x2a\n");
  // Relations keep their spelling; &H and &O literals stay as written.
  EXPECT_TEXT("IF a <= &HFF OR b => &o17 THEN x=1\n", "\x10\x25 a<=&HFF\x01\x33"
                                                      "b=>&o17\x01\x02x=1\n");
}

TEST(BuilderLayout, NegationOutsideTheStart) {
  // The engine reads -name only at the start of an expression; elsewhere
  // the negation gets its own group. Literals keep their sign.
  EXPECT_TEXT("x = -a * -b + 3 * -2 - -c(1) + +d\n", "x=-a*(-b)+3*-2-(-c(1))+d\n");
  EXPECT_TEXT("IF x = -y THEN z = (-y)\n", "\x10\x25 x=(-y)\x01\x02z=(-y)\n");
}

TEST(BuilderLayout, StringLiterals) {
  EXPECT_TEXT("PRINT \"a\"\"b\"; \"\x01\"; \"\"\n", "\x10\x10 \"a\x01zb\";\"\x01\x01\";\"\"\n");
  // A colon and an apostrophe inside a string are text.
  EXPECT_TEXT("a$ = \"x:y'z\" ' comment\n", "a$=\"x:y'z\"\n");
}

TEST(BuilderLayout, CommentsAndEmptyLinesWriteNothing) {
  EXPECT_TEXT("REM start\n\n' note\nx=1 : REM rest\n  : \ny=2 ' end\n", "x=1\ny=2\n");
  EXPECT_TEXT("", "");
}

TEST(BuilderLayout, KeywordsInAnyCase) {
  EXPECT_TEXT("print 1: Print 2: for I=1 to 2 step 1: next\n",
              "\x10\x10 1:\x10\x10 2:\x10\x31 0000002a I=1 to 2 step 1:\x10\x32 9\n");
}

TEST(BuilderLayout, PrintInputAndChannels) {
  EXPECT_TEXT("PRINT #2, a; b$,\nPRINT USING \"##.#\"; x\nPRINT #1, USING f$; 1\n? \n",
              "\x10\x10 #2,a;b$,\n\x10\x10 using \"##.#\";x\n\x10\x10 #1,using f$;1\n\x10\x10\n");
  EXPECT_TEXT("INPUT \"Name\"; n$, a\nINPUT #3, x\nLINE INPUT \"? \", l$\nLINE INPUT #1, l$\n",
              "\x10\x11 \"Name\";n$,a\n\x10\x11 #3,x\n\x11\x14 input \"? \",l$\n"
              "\x11\x14 input #1,l$\n");
  EXPECT_TEXT("WRITE #1, 1, \"a\"\nLPRINT USING \"#\"; 5\n",
              "\x10\x1a #1,1,\"a\"\n\x10\x16 using \"#\";5\n");
}

TEST(BuilderLayout, FilesAndRecords) {
  EXPECT_TEXT(
      "OPEN \"a.txt\" FOR OUTPUT AS #1\nOPEN f$ + \".dat\" AS 2\nOPEN \"b\" FOR RANDOM AS #3\n",
      "\x10\x12 \"a.txt\" for output\x01\x36#1\n\x10\x12 f$+\".dat\"\x01\x36#2\n"
      "\x10\x12 \"b\"\x01\x36#3\n");
  EXPECT_TEXT("CLOSE\nCLOSE #1, 2\nFIELD #1, 4 AS a$, 6 AS b$\nLSET a$ = \"x\"\nRSET b$=y$\n",
              "\x10\x13\n\x10\x13 #1,#2\n\x10\x17 #1,4\x01\x36"
              "a$,6\x01\x36"
              "b$\n\x10\x18 a$=\"x\"\n\x10\x19 b$=y$\n");
  EXPECT_TEXT("GET #1, 3\nPUT #1, r + 1\n", "\x11\x10 #1,3\n\x11\x12 #1,r+1\n");
}

TEST(BuilderLayout, Graphics) {
  EXPECT_TEXT(
      "LINE (0,0)-(10,5), 4, BF\nLINE -STEP(3,4)\nPSET (1,2), 3\nCIRCLE (5,5), 3, , , , 0.5\n",
      "\x11\x14 (0,0)-(10,5),4,BF\n\x11\x14 -step(3,4)\n\x10\x55 (1,2),3\n"
      "\x10\x51 (5,5),3,,,,0.5\n");
  EXPECT_TEXT("GET (0,0)-(9,9), img\nPUT @(1,2), img, XOR\nPUT (1,2), img, PSET\n",
              "\x11\x10 (0,0)-(9,9),img\n\x11\x12 (1,2),img,xor\n\x11\x12 (1,2),img,pset\n");
  EXPECT_TEXT("GPRINT 1, 2, \"a\", 7, -1, -1, 0, \"\", bold, shiftjis\n",
              "\x10\x57 1,2,\"a\",7,-1,-1,0,\"\",bold,shiftjis\n");
}

TEST(BuilderLayout, JumpsTrapsAndData) {
  EXPECT_TEXT(
      "*a\nGOSUB *a\nRETURN\nRESTORE\nRESTORE 20\nRUN\n20 DATA 1, -2.5, abc, \"x,y\", , &H1F\n",
      "\x10\x24 ffffffff\n\x10\x27\n\x10\x66 ffffffff\n\x10\x66 00000032\n"
      "\x10\x33 ffffffff\n\x10\x64 1,-2.5,\"abc\",\"x,y\",,&H1F\n");
  EXPECT_TEXT("ON x GOTO 10, 20\n10 ON ERROR GOTO 20\n20 ON KEY GOSUB 10,,20\n"
              "ON MOUSE(2) GOSUB 10\nKEY ON\nMOUSE(2) STOP\nCREATETHREAD 20\n",
              "\x10\x30 x goto 0000001b,00000032\n\x10\x30 error goto 00000032\n"
              "\x10\x30 key gosub 0000001b,,00000032\n\x10\x30 mouse(2) gosub 0000001b\n"
              "\x10\x14 on\n\x10\x15 (2)stop\n\x10\x36 00000032\n");
}

TEST(BuilderLayout, MiscStatements) {
  EXPECT_TEXT("LET a = 1\nMID$(a$, 2, 1) = \"x\"\nSWAP a, b\nERASE a, b$\nREAD a, b$(1)\n",
              "\x10\x7b a=1\n\x10\x7d (a$,2,1)=\"x\"\n\x10\x67 a,b\n\x10\x62 a,b$\n"
              "\x10\x65 a,b$(1)\n");
  EXPECT_TEXT("CLS\nCOLOR 7, 0\nLOCATE 1, 2\nEND\nEND 2\nBEEP\nCLEAR\nRANDOMIZE 5\nNOP\n",
              "\x10\x71\n\x10\x72 7,0\n\x10\x7c 1,2\n\x10\x79\n\x10\x79 2\n\x10\x70\n\x10\x60\n"
              "\x10\x7e 5\n\x10\x21\n");
  EXPECT_TEXT("DIM a(10), b$(2, 3)\np.x = 1\nq(1).y = p.x\n",
              "\x10\x61 a(10),b$(2,3)\np.x=1\nq(1).y=p.x\n");
}

TEST(BuilderLayout, ChainToAnotherFile) {
  builder::BuildResult r = builder::BuildProgram(
      {{"dir/main.bas", "PRINT 1\nCHAIN \"B.BAS\", 10, ALL\n"}, {"b.bas", "10 PRINT 2\n"}});
  ASSERT_TRUE(r.Ok()) << buildertest::Errors(r);
  std::string want("\x10\x10 1\n\x10\x20 0000001d,0000001d,all\n\x10\x10 2\n", 35);
  EXPECT_EQ(Show(r.program), Show(want));
}

TEST(BuilderLayout, NoBlankBeforeStatementTokensOrAs) {
  std::string text = Build("IF a THEN PRINT 1 ELSE PRINT 2\nx=1 :   PRINT 3\n"
                           "   DIM z AS Integer\nOPEN f$ FOR INPUT AS #1\n");
  for (size_t i = 1; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    unsigned char prev = static_cast<unsigned char>(text[i - 1]);
    if (c == 0x10 || c == 0x11) {
      EXPECT_NE(prev, ' ') << "blank before a statement token at " << i;
    }
    if (c == 0x01 && i + 1 < text.size() && text[i + 1] == 0x36) {
      EXPECT_NE(prev, ' ') << "blank before AS at " << i;
    }
  }
}
