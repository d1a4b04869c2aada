// The variable store: kinds, DEF letter lists, scopes, arrays, records and
// conditions over strings and numbers.
#include "engine_fixture.h"

#include "data/assignment.h"
#include "data/declarations.h"
#include "data/variable_cells.h"
#include "data/variables.h"
#include "expr/eval.h"

namespace {

class VariablesTest : public EngineFixture {
protected:
  void Run(std::string text) { Assign(text); }
  void Dim(std::string text) { DIM(text, kNoThread); }
  void Def(std::string text) { DEF(text, kNoThread); }
};

TEST_F(VariablesTest, KindsBySuffixAndDefLists) {
  Run("a%=2.9");
  Run("s!=1.1");
  Run("d#=1.1");
  EXPECT_EQ(GetNumeric("a%"), 2);
  EXPECT_EQ(GetNumeric("s!"), static_cast<double>(1.1f));
  EXPECT_EQ(GetNumeric("d#"), 1.1);
  Def("A-C,xint");
  EXPECT_EQ(ImpliedKind("b"), kInteger);
  EXPECT_EQ(ImpliedKind("X1"), kInteger);
  EXPECT_EQ(ImpliedKind("b#"), kDouble);
  Run("b=-2.9");
  EXPECT_EQ(GetNumeric("b"), -2);
  Def("Dstr");
  EXPECT_EQ(ImpliedKind("dd"), kString);
  Def("C-Aint");
  EXPECT_TRUE(TakeError()) << "a reversed range";
  Def("1int");
  EXPECT_TRUE(TakeError());
}

TEST_F(VariablesTest, ReadingNeverCreatesAndNamesAreCaseSensitive) {
  EXPECT_EQ(GetNumeric("n"), 0);
  EXPECT_TRUE(engine_->globals.entries[0].empty());
  Run("n=1");
  Run("N=2");
  EXPECT_EQ(GetNumeric("n"), 1);
  EXPECT_EQ(GetNumeric("N"), 2);
  GetNumeric("1x");
  EXPECT_TRUE(TakeError());
  Run("noequals");
  EXPECT_TRUE(TakeError());
}

TEST_F(VariablesTest, StringsKeepEscapesThroughConcatenation) {
  Run("a$=\"x\x01zy\"+\"\"&\"z\"");
  ASSERT_NE(GetString("a$"), nullptr);
  EXPECT_EQ(*GetString("a$"), "x\x01zyz");
  EXPECT_EQ(EvalString(""), "");
  EXPECT_EQ(GetString("missing$"), nullptr);
  std::string swap = "a$,b$";
  Run("b$=\"other\"");
  SWAP(swap, kNoThread);
  EXPECT_EQ(*GetString("a$"), "other");
  EXPECT_EQ(*GetString("b$"), "x\x01zyz");
  GetNumeric("a$");
  EXPECT_TRUE(TakeError()) << "a string read as a number";
}

TEST_F(VariablesTest, LocalsShadowAndDisappear) {
  Run("g=1");
  BindCurrentThread(3);
  PushScope(3);
  Run("g=5");
  Run("l=7");
  EXPECT_EQ(GetNumeric("l"), 7);
  PopScope(3);
  EXPECT_EQ(GetNumeric("g"), 5) << "assigning a global from a routine changes it";
  EXPECT_EQ(GetNumeric("l"), 0) << "the local is gone";
  ReleaseScopes(3);
  engine_->threads.slots[3].id.store(0);
}

TEST_F(VariablesTest, DeclaredArraysAreRowMajorAndChecked) {
  Dim("a(2,3)");
  Run("a(1,2)=9");
  EXPECT_EQ(engine_->globals.doubles.size(), 12u);
  EXPECT_EQ(engine_->globals.doubles[6], 9);
  GetNumeric("a(2,4)");
  EXPECT_TRUE(TakeError());
  GetNumeric("a(1)");
  EXPECT_TRUE(TakeError());
  Dim("bad(-1)");
  EXPECT_TRUE(TakeError());
  std::string erase = "a";
  ERASE(erase, kNoThread);
  Dim("a(1)");
  EXPECT_EQ(GetNumeric("a(1)"), 0);
  EXPECT_EQ(engine_->globals.doubles.size(), 2u);
  erase = "nothing";
  ERASE(erase, kNoThread);
  EXPECT_FALSE(TakeError());
  Dim("huge(100000,100000)");
  EXPECT_TRUE(TakeError()) << "an array too large for memory is refused";
}

TEST_F(VariablesTest, UndeclaredElementsAreSparse) {
  Run("b(5)=1");
  Run("b(6)=2");
  EXPECT_EQ(GetNumeric("b(5)"), 1);
  EXPECT_EQ(GetNumeric("b(7)"), 0);
  EXPECT_EQ(engine_->globals.doubles.size(), 2u);
  GetNumeric("b(-1)");
  EXPECT_TRUE(TakeError());
}

TEST_F(VariablesTest, RecordsFromTypeDefinitions) {
  // TYPE at position 2; members on the following lines.
  std::string text = "x\n\x01\x4bpt\nx\x01\x36integer\nname$\n\x01\x4c\n";
  engine_->program.Load(text);
  Dim("p\x01\x36"
      "2,q\x01\x36"
      "2");
  Run("p.x=3.7");
  Run("p.name$=\"abc\"");
  EXPECT_EQ(GetNumeric("p.x"), 3);
  EXPECT_EQ(KindOf("p"), kRecord);
  Run("q=p");
  Run("p.name$=\"changed\"");
  EXPECT_EQ(*GetString("q.name$"), "abc") << "record copies are deep";
  EXPECT_EQ(GetNumeric("q.x"), 3);
  GetNumeric("p.missing");
  EXPECT_TRUE(TakeError());
  GetNumeric("nothing.x");
  EXPECT_TRUE(TakeError());
  Dim("r\x01\x36"
      "0");
  EXPECT_TRUE(TakeError()) << "type position 0";
}

TEST_F(VariablesTest, ConditionsCompareStringsByCollation) {
  Run("a=1");
  Run("b$=\"x\"");
  EXPECT_EQ(EvalCondition("a=1\x01\x26"
                          "b$=\"x\""),
            -1);
  EXPECT_EQ(EvalCondition("(a=1)\x01\x33(a=2)"), -1);
  EXPECT_EQ(EvalCondition("a\x01\x26"
                          "4"),
            0);
  EXPECT_EQ(EvalCondition("\"a\"<\"B\""), -1) << "collation, not byte order";
  EXPECT_EQ(EvalCondition("\"B\"<\"a\""), 0);
  EXPECT_EQ(EvalCondition("1+1=2"), -1);
  Run("a=0.5");
  EXPECT_EQ(EvalCondition("(a+1)*2>=3"), 0) << "a leading group is a condition of its own";
  EXPECT_EQ(EvalCondition("b$<>\"y\""), -1);
}

} // namespace

namespace {

NameEntry Entry(const char *name, size_t cells = 1) {
  NameEntry e;
  e.name = name;
  e.cells = cells;
  if (cells > 1) {
    e.form = NameEntry::Form::Array;
    e.dims = {static_cast<int32_t>(cells - 1)};
  }
  return e;
}

} // namespace

// Routine scopes share a layout while they hold the same entries in the
// same order; any other change gives another one, and only the other
// tables move the generation.
TEST(VariableLayoutTest, ScopesWithTheSameEntriesShareALayout) {
  VariableTable a, b, c;
  a.scoped = b.scoped = c.scoped = true;
  uint64_t generation = gVariableGeneration.load();
  a.AddEntry(0, Entry("n"));
  a.AddEntry(0, Entry("Fib"));
  b.AddEntry(0, Entry("n"));
  EXPECT_NE(a.layout, b.layout);
  b.AddEntry(0, Entry("Fib"));
  EXPECT_EQ(a.layout, b.layout);
  c.AddEntry(0, Entry("Fib"));
  c.AddEntry(0, Entry("n"));
  EXPECT_NE(a.layout, c.layout) << "another order";
  VariableTable d, e;
  d.scoped = e.scoped = true;
  d.AddEntry(1, Entry("n"));
  e.AddEntry(0, Entry("n", 4));
  EXPECT_NE(d.layout, e.layout);
  EXPECT_NE(d.layout, b.layout);
  EXPECT_EQ(gVariableGeneration.load(), generation);
  uint64_t changes = a.changes;
  a.Clear();
  EXPECT_EQ(a.layout, 0u);
  EXPECT_GT(a.changes, changes);
  b.RemoveCells(0, 0, 1);
  EXPECT_NE(b.layout, 0u);
  EXPECT_NE(b.layout, c.layout);
  EXPECT_EQ(gVariableGeneration.load(), generation);
  VariableTable global;
  global.AddEntry(0, Entry("n"));
  EXPECT_GT(gVariableGeneration.load(), generation);
  EXPECT_EQ(global.layout, 0u);
}

// An emptied table keeps its entries' storage and reuses it: what it is
// filled with again reads as freshly made, whatever stood there before.
TEST(VariableLayoutTest, AnEmptiedTableIsFilledAgainAsNew) {
  VariableTable t;
  t.scoped = true;
  t.AddEntry(0, Entry("a", 6));
  t.AddScalar(0, "n");
  t.AddScalar(3, "s$");
  uint64_t first = t.layout;
  t.Clear();
  EXPECT_TRUE(t.entries[0].empty());
  EXPECT_EQ(FindScalarCell(t.entries[0], "n"), kNotFound) << "a kept entry is not found";
  t.AddScalar(0, "a");
  t.AddScalar(0, "n");
  ASSERT_EQ(t.entries[0].size(), 2u);
  EXPECT_EQ(t.entries[0][0].form, NameEntry::Form::Scalar);
  EXPECT_TRUE(t.entries[0][0].dims.empty());
  EXPECT_EQ(t.entries[0][0].cells, 1u);
  EXPECT_EQ(FindScalarCell(t.entries[0], "a"), 0);
  EXPECT_EQ(FindScalarCell(t.entries[0], "n"), 1);
  EXPECT_EQ(t.doubles.size(), 2u);
  EXPECT_TRUE(t.entries[3].empty());
  EXPECT_NE(t.layout, first);
  // The same entries in the same order as the first time: the same layout.
  t.Clear();
  t.AddEntry(0, Entry("a", 6));
  t.AddScalar(0, "n");
  t.AddScalar(3, "s$");
  EXPECT_EQ(t.layout, first);
  EXPECT_EQ(t.entries[0][0].dims, std::vector<int32_t>{5});
  EXPECT_EQ(FindScalarCell(t.entries[0], "n"), 6);
  EraseEntries(t, 0, "a");
  EXPECT_EQ(FindScalarCell(t.entries[0], "n"), 0);
  EXPECT_EQ(t.doubles.size(), 1u);
}
