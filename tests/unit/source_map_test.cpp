// The statement positions that let a runtime error name its source: what
// the builder records, the encoding images carry, and damaged maps.
#include <gtest/gtest.h>

#include <string>

#include "builder/builder.h"
#include "runtime/source_map.h"

namespace {

srcmap::SourceMap Build(const std::string &main, const std::string &more = std::string()) {
  std::vector<builder::SourceInput> in{{"main.bas", main}};
  if (!more.empty()) in.push_back({"more.bas", more});
  builder::BuildResult r = builder::BuildProgram(in);
  EXPECT_TRUE(r.Ok());
  return r.sourceMap;
}

TEST(SourceMap, StatementsOfLinesFilesAndBlocks) {
  srcmap::SourceMap m =
      Build("PRINT 1\n  x = 2 : y = 3 ' note\nFOR i = 1 TO 2\nNEXT\n", "*far\nPRINT \"ｱ\": END\n");
  ASSERT_EQ(m.files.size(), 2u);
  EXPECT_EQ(m.Describe(0), "main.bas:1:1: runtime error in PRINT 1");
  // Every entry's position names the entry itself.
  for (const srcmap::Entry &e : m.entries) EXPECT_EQ(m.Find(e.position), &e);
  auto find = [&](const std::string &text) -> const srcmap::Entry * {
    for (const srcmap::Entry &e : m.entries)
      if (e.text == text) return &e;
    return nullptr;
  };
  const srcmap::Entry *y = find("y = 3");
  ASSERT_NE(y, nullptr);
  EXPECT_EQ(y->line, 2u);
  EXPECT_EQ(y->column, 11u);
  ASSERT_NE(find("x = 2"), nullptr);
  EXPECT_EQ(find("x = 2")->column, 3u);
  ASSERT_NE(find("NEXT"), nullptr);
  const srcmap::Entry *end = find("END");
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(end->file, 1u);
  EXPECT_EQ(end->line, 2u);
  // Columns count characters: the half-width katakana is one.
  EXPECT_EQ(end->column, 12u);
  // A position inside a statement belongs to it.
  EXPECT_EQ(m.Find(y->position + 2), y);
}

TEST(SourceMap, EncodingRoundTripsBehindOtherBytes) {
  srcmap::SourceMap m = Build("a = 1\nb = 2\n");
  std::string bytes = "ENGINE BYTES" + srcmap::Encode(m);
  srcmap::SourceMap back;
  ASSERT_TRUE(srcmap::DecodeTrailing(bytes, back));
  EXPECT_EQ(back.files, m.files);
  ASSERT_EQ(back.entries.size(), m.entries.size());
  for (size_t i = 0; i < m.entries.size(); ++i) {
    EXPECT_EQ(back.entries[i].position, m.entries[i].position);
    EXPECT_EQ(back.entries[i].text, m.entries[i].text);
  }
}

TEST(SourceMap, DamagedOrMissingMapsAreRefused) {
  srcmap::SourceMap m = Build("a = 1\nb = 2\n");
  std::string good = srcmap::Encode(m);
  srcmap::SourceMap out;
  EXPECT_FALSE(srcmap::DecodeTrailing("", out));
  EXPECT_FALSE(srcmap::DecodeTrailing("no map here at all", out));
  // Every truncation from the front and every changed byte is either
  // refused or decodes to a map with entries in order; none reads outside.
  for (size_t cut = 1; cut < good.size(); ++cut)
    EXPECT_FALSE(srcmap::DecodeTrailing(good.substr(cut), out)) << cut;
  for (size_t i = 0; i < good.size(); ++i) {
    for (int v : {0x00, 0xFF, 0x7F}) {
      std::string bad = good;
      bad[i] = static_cast<char>(v);
      if (srcmap::DecodeTrailing(bad, out)) {
        for (size_t k = 1; k < out.entries.size(); ++k)
          EXPECT_LE(out.entries[k - 1].position, out.entries[k].position);
      } else {
        EXPECT_TRUE(out.Empty());
      }
    }
  }
  // A length that claims more than there is.
  std::string longer = good;
  longer[longer.size() - 4] = 0x7F;
  EXPECT_FALSE(srcmap::DecodeTrailing(longer, out));
}

} // namespace
