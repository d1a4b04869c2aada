// The lister against the builder: every example and test program lists to
// source that builds to the same bytes, and arbitrary input never crashes
// either of them.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <regex>

#include "builder/lister.h"
#include "builder_test_util.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path &p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// build(list(text)) must give TEXT again.
void ExpectRoundTrip(const std::string &text, const std::string &what) {
  std::string listing = builder::ListProgram(text);
  builder::BuildResult again = builder::BuildProgram({{"listing.bas", listing}});
  ASSERT_TRUE(again.Ok()) << what << "\n" << buildertest::Errors(again) << listing;
  EXPECT_EQ(buildertest::Show(again.program), buildertest::Show(text)) << what << "\n" << listing;
}

// Programs of one or more files: NAME.bas with its NAME_moreN.bas files.
std::map<std::string, std::vector<fs::path>> ProgramsIn(const fs::path &dir) {
  std::map<std::string, std::vector<fs::path>> programs;
  if (!fs::is_directory(dir)) return programs;
  std::regex part("(.*)_more[0-9]+");
  std::vector<fs::path> files;
  for (const auto &e : fs::directory_iterator(dir))
    if (e.path().extension() == ".bas") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  for (const fs::path &f : files) {
    std::smatch m;
    std::string stem = f.stem().string();
    if (!std::regex_match(stem, m, part)) programs[stem].insert(programs[stem].begin(), f);
  }
  for (const fs::path &f : files) {
    std::smatch m;
    std::string stem = f.stem().string();
    if (std::regex_match(stem, m, part) && programs.count(m[1].str()))
      programs[m[1].str()].push_back(f);
  }
  return programs;
}

} // namespace

TEST(BuilderRoundTrip, ExamplesAndTestPrograms) {
  int count = 0;
  for (const char *dir : {"examples", "tests/programs"}) {
    for (const auto &[name, files] : ProgramsIn(fs::path(QUILL_SOURCE_DIR) / dir)) {
      std::vector<builder::SourceInput> sources;
      for (const fs::path &f : files) sources.push_back({f.filename().string(), ReadAll(f)});
      builder::BuildResult r = builder::BuildProgram(sources);
      if (!r.Ok() && std::string(dir) == "tests/programs") continue; // tests of build errors
      ASSERT_TRUE(r.Ok()) << name << "\n" << buildertest::Errors(r);
      ExpectRoundTrip(r.program, std::string(dir) + "/" + name);
      ++count;
    }
  }
  EXPECT_GE(count, 5);
}

TEST(BuilderRoundTrip, ConstructsListAndRebuild) {
  const char *sources[] = {
      "IF a THEN IF b THEN x=1 ELSE x=2 ELSE x=3\n",
      "*a: x=1: *b: y=2\nGOTO *b\nON x GOSUB *a, *b\n",
      "DO\nDO\nx=x+1\nLOOP UNTIL x>2\nLOOP WHILE x<9\n",
      "TYPE T\nv AS Integer\nEND TYPE\nTYPE U\nt AS T\nEND TYPE\nDIM u AS U\n",
      "s$ = \"a\"\"b\" + Chr$(1) + \"\x01\"\nPRINT USING \"##\"; 5\n",
      "x = -a * -b ^ -c + NOT d AND e\n",
      "DEF FN f$(a$) = a$ + \"!\"\nPRINT FN f$(\"x\")\n",
      "LINE INPUT \"Name\"; n$\nLINE (1,1)-STEP(2,2), , B\nPUT (0,0), i, AND\n",
      "FUNCTION f(n)\nIF n < 2 THEN f = 1 ELSE f = n * f(n - 1)\nEND FUNCTION\nPRINT f(5)\n",
      "GOTO *end\nPRINT 1\n*end\n",
      "",
  };
  for (const char *src : sources) {
    builder::BuildResult r = builder::BuildProgram({{"c.bas", src}});
    ASSERT_TRUE(r.Ok()) << src << buildertest::Errors(r);
    ExpectRoundTrip(r.program, src);
  }
}

// Code page 932 text whose bytes also form UTF-8 (a source made code page
// 932 by a byte that is no UTF-8, in a comment the program text drops)
// still lists to source read as code page 932.
TEST(BuilderRoundTrip, Cp932ThatLooksLikeUtf8ListsBack) {
  builder::BuildResult r = builder::BuildProgram(
      {{"c.bas", "' \xFF\na$=\"\xE6\x97\xA5\"+\"\xE8\xAA\x9E\"\nPRINT a$\n"}});
  ASSERT_TRUE(r.Ok()) << buildertest::Errors(r);
  ExpectRoundTrip(r.program, "lead bytes that form UTF-8");
}

// A string or DATA item whose last byte is a stray lead byte ends at its
// closing quote: the quote is never read as the trail byte, when building
// or when listing, and neither is the escape of a doubled quote.
TEST(BuilderRoundTrip, StrayLeadByteBeforeAClosingQuote) {
  builder::BuildResult r = builder::BuildProgram(
      {{"c.bas", "DATA \"y\xED\", 1, z\xED\na$ = \"x\xED\" + \"\x82\xA0\"\nREAD b$, c$\n"
                 "q$ = \"say \"\"h\x97\"\"\"\n"}});
  ASSERT_TRUE(r.Ok()) << buildertest::Errors(r);
  ExpectRoundTrip(r.program, "stray lead bytes");
}

// A chain of negations is listed with a group for each: whatever builds
// lists to source within the nesting bound.
TEST(BuilderRoundTrip, LongNegationChainsListBack) {
  for (int n : {2, 60, 99, 150, 199}) {
    builder::BuildResult r =
        builder::BuildProgram({{"c.bas", "k=" + std::string(n, '-') + "0\nPRINT k\n"}});
    if (r.Ok()) ExpectRoundTrip(r.program, std::to_string(n) + " negations");
  }
}

TEST(BuilderRoundTrip, ListingShowsLabelsAndBytes) {
  std::string text = buildertest::Build("10 PRINT 1\nGOTO 10\n");
  EXPECT_EQ(builder::ListProgram(text), "*L1\nPRINT 1\nGOTO *L1\n");
  builder::ListOptions bytes;
  bytes.bytes = true;
  EXPECT_EQ(builder::ListProgram(text, bytes),
            "*L1\n00000000  10 10 20 31 0a\nPRINT 1\n"
            "00000005  10 23 20 66 66 66 66 66 66 66 66 0a\nGOTO *L1\n");
}

TEST(BuilderRoundTrip, RandomSourceNeverCrashes) {
  static const char *const kPieces[] = {
      "PRINT", "IF",       "THEN", "ELSE",   "ELSEIF",  "END",    "FOR",   "TO",    "STEP",
      "NEXT",  "WHILE",    "WEND", "DO",     "LOOP",    "UNTIL",  "EXIT",  "SUB",   "FUNCTION",
      "TYPE",  "AS",       "DIM",  "GOTO",   "GOSUB",   "RETURN", "ON",    "ERROR", "KEY",
      "MOUSE", "DEF",      "FN",   "DEFINT", "CALL",    "OPEN",   "INPUT", "LINE",  "PUT",
      "GET",   "DATA",     "READ", "CHAIN",  "REM",     "Left$",  "Mid$",  "Rnd",   "Date$",
      "MOD",   "AND",      "NOT",  "x",      "y$",      "f",      "s",     "T",     "a(",
      "*lab",  "10",       "1.5",  "&HFF",   "\"str\"", "\"",     "(",     ")",     ",",
      ";",     ":",        "=",    "<>",     "+",       "-",      "*",     "/",     "\\",
      "^",     "#",        "@",    "'",      "\n",      "\n",     " ",     " ",     "\t",
      "\x01",  "\x82\xa0", "\xff", "\0",     "?"};
  std::mt19937 rng(12345);
  int built = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string src;
    int n = static_cast<int>(rng() % 40);
    for (int i = 0; i < n; ++i) {
      const char *p = kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
      src += p[0] ? std::string(p) : std::string(1, '\0');
      if (rng() % 3 == 0) src += ' ';
    }
    builder::BuildResult r =
        builder::BuildProgram({{"r.bas", src}, {"q.bas", "SUB s(a)\nEND SUB\n"}});
    for (const auto &d : r.errors) (void)builder::FormatDiagnostic(d);
    if (r.Ok()) {
      ++built;
      ExpectRoundTrip(r.program, buildertest::Show(src));
      if (HasFailure()) return;
    }
  }
  EXPECT_GT(built, 10);
}

TEST(BuilderRoundTrip, RandomProgramTextNeverCrashesTheLister) {
  std::mt19937 rng(777);
  static const char kBytes[] = "\x01\x02\x03\x10\x11\x25\x31\x32\x34\x35\x26\x36\x41\x42\x43\x44"
                               "\x45\x46\x4b\x4c\x4d\x61\x62\x63\x16 :\n\"0f(),=";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    int n = static_cast<int>(rng() % 80);
    for (int i = 0; i < n; ++i)
      text += rng() % 4 ? kBytes[rng() % (sizeof kBytes - 1)] : static_cast<char>(rng());
    builder::ListOptions o;
    o.bytes = round % 2;
    (void)builder::ListProgram(text, o);
  }
  // Deep nesting stays bounded.
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "\x10\x25 a\x01\x02";
  (void)builder::ListProgram(deep);
  builder::BuildResult r = builder::BuildProgram({{"d.bas", "x=" + std::string(5000, '(') + "\n"}});
  EXPECT_FALSE(r.Ok());
  r = builder::BuildProgram({{"d.bas", "IF a THEN " + [] {
                                std::string s;
                                for (int i = 0; i < 3000; ++i) s += "IF a THEN ";
                                return s;
                              }() + "x=1\n"}});
  EXPECT_FALSE(r.Ok());
}

TEST(BuilderRoundTrip, LargeProgramBuildsQuickly) {
  std::string src;
  for (int i = 0; i < 5000; ++i)
    src += "*l" + std::to_string(i) + "\nFOR i=1 TO 3: x = x + Len(\"abc\") * i: NEXT: GOTO *l" +
           std::to_string(i / 2) + "\n";
  auto start = std::chrono::steady_clock::now();
  builder::BuildResult r = builder::BuildProgram({{"big.bas", src}});
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  start)
                .count();
  ASSERT_TRUE(r.Ok()) << buildertest::Errors(r);
  EXPECT_LT(ms, 5000);
  ExpectRoundTrip(r.program, "big");
}
