// Code page 932 text to code points for drawing. ASCII maps to itself; the
// other single bytes, and the double-byte characters of each lead byte, are
// converted when one of them first appears, in one pass through the shared
// converter, into a table. Every later call only looks characters up, so
// that drawing one console cell costs no conversion (and ASCII text loads
// no converter at all).
#include <algorithm>
#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/font_internal.h"

namespace platform::font {
namespace {

struct Table {
  std::array<uint32_t, 256> single;
  std::array<uint32_t, 256 * 256> pairs; // indexed by lead << 8 | trail
  std::array<std::once_flag, 256> rows;  // a lead byte's pairs converted
  std::once_flag highSingles;            // the single bytes above ASCII converted
};

// Reads the next UTF-8 sequence of TEXT at POS (the converter only writes
// well-formed UTF-8).
uint32_t NextCode(const std::string &text, size_t &pos) {
  auto b = static_cast<uint8_t>(text[pos++]);
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  uint32_t code = extra == 0 ? b : b & (0x3F >> extra);
  for (int i = 0; i < extra && pos < text.size(); ++i)
    code = (code << 6) | (static_cast<uint8_t>(text[pos++]) & 0x3F);
  return code;
}

// Converts the characters of SOURCE (each BYTES long, COUNT of them) and
// stores their code points through STORE; U+FFFD (the converter's mark for
// bytes without a mapping) becomes NoCode. Returns false when the result does
// not hold exactly one code point per character.
template <typename Store> bool ConvertAll(const std::string &source, size_t count, Store store) {
  std::string utf8 = cp932::ToUtf8(source);
  size_t pos = 0;
  for (size_t i = 0; i < count; ++i) {
    if (pos >= utf8.size()) return false;
    uint32_t code = NextCode(utf8, pos);
    store(i, code == 0xFFFD ? NoCode : code);
  }
  return pos == utf8.size();
}

Table &TheTable() {
  static Table *table = [] {
    // Rows of pairs are written when converted: left untouched, the pages
    // of rows never used are never faulted in.
    auto *t = new Table;
    t->single.fill(NoCode);
    for (uint32_t b = 0; b < 0x80; ++b) t->single[b] = b;
    return t;
  }();
  return *table;
}

// The single bytes above ASCII (every one that is no lead byte), converted
// when the first of them is drawn.
void ConvertHighSingles(Table &t) {
  std::string singles;
  std::array<uint8_t, 128> singleBytes{};
  size_t n = 0;
  for (int b = 0x80; b < 256; ++b)
    if (!cp932::IsLeadByte(static_cast<uint8_t>(b))) {
      singles.push_back(static_cast<char>(b));
      singleBytes[n++] = static_cast<uint8_t>(b);
    }
  auto storeSingle = [&](size_t i, uint32_t code) { t.single[singleBytes[i]] = code; };
  if (!ConvertAll(singles, n, storeSingle))
    for (size_t i = 0; i < n; ++i)
      ConvertAll(singles.substr(i, 1), 1, [&](size_t, uint32_t c) { storeSingle(i, c); });
}

uint32_t SingleCode(Table &t, uint8_t b) {
  if (b >= 0x80) std::call_once(t.highSingles, [&] { ConvertHighSingles(t); });
  return t.single[b];
}

// The pairs of lead byte LEAD, converted on first use.
void ConvertRow(Table &t, uint8_t lead) {
  std::string pairs;
  pairs.reserve(512);
  for (int trail = 0; trail < 256; ++trail) {
    pairs.push_back(static_cast<char>(lead));
    pairs.push_back(static_cast<char>(trail));
  }
  std::fill_n(t.pairs.begin() + (lead << 8), 256, NoCode);
  auto storePair = [&](size_t i, uint32_t code) { t.pairs[lead << 8 | i] = code; };
  if (!ConvertAll(pairs, 256, storePair))
    for (size_t i = 0; i < 256; ++i)
      ConvertAll(pairs.substr(2 * i, 2), 1, [&](size_t, uint32_t c) { storePair(i, c); });
}

const Table &RowsFor(Table &t, uint8_t lead) {
  std::call_once(t.rows[lead], [&] { ConvertRow(t, lead); });
  return t;
}

} // namespace

void Decode(std::string_view text, std::vector<Unit> &units) {
  Table &table = TheTable();
  units.clear();
  for (size_t i = 0; i < text.size();) {
    auto b = static_cast<uint8_t>(text[i]);
    if (cp932::IsLeadByte(b) && i + 1 < text.size()) {
      auto trail = static_cast<uint8_t>(text[i + 1]);
      units.push_back({RowsFor(table, b).pairs[b << 8 | trail], 2});
      i += 2;
    } else {
      // A lead byte at the end has no mapping.
      units.push_back({cp932::IsLeadByte(b) ? NoCode : SingleCode(table, b), 1});
      i += 1;
    }
  }
}

} // namespace platform::font
