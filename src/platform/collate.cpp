// String comparison in the Japanese collation order, as the engine's string
// comparison operators need it. The text is converted to UTF-16 and compared
// with ICU's Japanese collator at the tertiary level, tailored to the Windows
// order of symbols and of the prolonged sound mark. Differences that collator
// ignores are then decided here, in this order:
//   1. hyphens and apostrophes, which the collator never sees: a text without
//      them first, then the one whose first such mark stands later, then
//      ' < ＇ < - < －;
//   2. width and kana type: half-width < full-width, katakana < hiragana;
//   3. the bytes themselves (shorter first), so that only identical texts are
//      equal, whatever control bytes or invalid sequences they hold.
#include "platform/nls.h"

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/icu_calls.h"

namespace platform {
namespace {

// Windows' order of the punctuation; the full-width forms go with their ASCII
// counterparts and are told apart by the width step.
constexpr std::u16string_view kSymbolOrder = u"!\"#$%&()*,.\uFF61/:;?@[]^_`{|}~\u2018\u2019\\+<=>";

std::u16string TailoringRules() {
  auto quoted = [](char16_t c) { return std::u16string(u"'") + c + u"'"; };
  std::u16string rules(u"&' '");
  for (char16_t c : kSymbolOrder) {
    rules += u" < ";
    rules += c == u'\\' ? std::u16string(u"\\\\") : quoted(c);
    if (c >= 0x21 && c <= 0x7E) {
      rules += u" = ";
      rules += quoted(static_cast<char16_t>(0xFF01 + (c - 0x21)));
    }
  }
  // The prolonged sound mark on its own sorts after every kanji.
  rules += u" &[before 1][first trailing] < \u30FC = \uFF70";
  return rules;
}

struct CollatorClose {
  void operator()(UCollator *c) const { ucol_close(c); }
};
using Collator = std::unique_ptr<UCollator, CollatorClose>;

// Built once, on the first comparison that needs it (ICU is loaded then);
// attributes are set before the collator is shared, and ucol_strcoll is
// safe to call from several threads. Null when ICU is missing.
Collator MakeCollator() {
  if (!lazy::Load(lazy::kIcuUc) || !lazy::Load(lazy::kIcuI18n)) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  Collator collator(ucol_open("ja", &status));
  if (U_FAILURE(status) || !collator) return nullptr;
  int32_t length = 0;
  const UChar *base = ucol_getRules(collator.get(), &length);
  std::u16string rules(base ? std::u16string_view(base, static_cast<size_t>(length))
                            : std::u16string_view());
  rules += TailoringRules();
  status = U_ZERO_ERROR;
  UParseError where;
  Collator tailored(ucol_openRules(rules.data(), static_cast<int32_t>(rules.size()), UCOL_DEFAULT,
                                   UCOL_DEFAULT, &where, &status));
  if (U_SUCCESS(status) && tailored) collator = std::move(tailored);
  status = U_ZERO_ERROR;
  ucol_setAttribute(collator.get(), UCOL_STRENGTH, UCOL_TERTIARY, &status);
  return collator;
}

const UCollator *JapaneseCollator() {
  static const Collator collator = MakeCollator();
  return collator.get();
}

struct Mark {
  size_t position; // index among all characters of the text
  int weight;
};

int MarkWeight(char16_t u) {
  switch (u) {
  case u'\'':
    return 1;
  case u'\uFF07':
    return 2; // ＇
  case u'-':
    return 3;
  case u'\uFF0D':
    return 4; // －
  default:
    return 0;
  }
}

// Width and kana type of the character that starts at bytes[offset].
uint8_t FormOf(std::string_view bytes, int32_t offset) {
  if (offset < 0 || static_cast<size_t>(offset) >= bytes.size()) return 0;
  auto lead = static_cast<uint8_t>(bytes[offset]);
  if (!cp932::IsLeadByte(lead)) return 0;
  if (static_cast<size_t>(offset) + 1 >= bytes.size()) return 1;
  unsigned code = lead << 8 | static_cast<uint8_t>(bytes[offset + 1]);
  return code >= 0x829F && code <= 0x82F1 ? 2 : 1;
}

struct Prepared {
  std::vector<char16_t> text; // without hyphens and apostrophes
  std::vector<uint8_t> form;  // one per character of text
  std::vector<Mark> marks;
};

// Buffers reused by each thread, so that a comparison allocates nothing once
// they have grown.
struct Scratch {
  UConverter *converter = nullptr;
  std::vector<char16_t> units;
  std::vector<int32_t> offsets;
  Prepared side[2];

  Scratch() {
    UErrorCode status = U_ZERO_ERROR;
    converter = ucnv_open("windows-31j", &status);
    if (U_FAILURE(status)) converter = nullptr;
  }
  ~Scratch() {
    if (converter) ucnv_close(converter);
  }
  Scratch(const Scratch &) = delete;
  Scratch &operator=(const Scratch &) = delete;
};

// Converts code page 932 to UTF-16. Invalid bytes become U+001A (ignored by
// the collator), so the comparison stays deterministic.
size_t ToUtf16(Scratch &s, std::string_view bytes) {
  size_t capacity = bytes.size() * 2 + 1;
  if (s.units.size() < capacity) {
    s.units.resize(capacity);
    s.offsets.resize(capacity);
  }
  bool ascii = true;
  for (char c : bytes) ascii = ascii && static_cast<uint8_t>(c) < 0x80;
  if (s.converter && !ascii) {
    ucnv_reset(s.converter);
    UChar *out = s.units.data();
    const char *in = bytes.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(s.converter, &out, out + capacity, &in, in + bytes.size(), s.offsets.data(),
                   true, &status);
    if (U_SUCCESS(status)) return out - s.units.data();
  }
  // ASCII maps to itself (and this is also the fallback without a converter).
  for (size_t i = 0; i < bytes.size(); ++i) {
    s.units[i] = static_cast<uint8_t>(bytes[i]);
    s.offsets[i] = static_cast<int32_t>(i);
  }
  return bytes.size();
}

void Prepare(Scratch &s, std::string_view bytes, Prepared &p) {
  size_t n = ToUtf16(s, bytes);
  p.text.resize(n);
  p.form.resize(n);
  p.marks.clear();
  size_t kept = 0;
  for (size_t k = 0; k < n; ++k) {
    char16_t u = s.units[k];
    if (int weight = MarkWeight(u)) {
      p.marks.push_back({k, weight});
    } else {
      p.text[kept] = u;
      p.form[kept++] = u < 0x80 ? 0 : FormOf(bytes, s.offsets[k]);
    }
  }
  p.text.resize(kept);
  p.form.resize(kept);
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

int CompareMarks(const std::vector<Mark> &x, const std::vector<Mark> &y) {
  for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
    if (x[i].position != y[i].position) return x[i].position > y[i].position ? -1 : 1;
    if (x[i].weight != y[i].weight) return x[i].weight < y[i].weight ? -1 : 1;
  }
  return Sign(static_cast<int>(x.size()) - static_cast<int>(y.size()));
}

int CompareBytes(std::string_view x, std::string_view y) {
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  return Sign(std::memcmp(x.data(), y.data(), x.size()));
}

int Compare(std::string_view a, std::string_view b) {
  if (a == b) return 0;
  const UCollator *collator = JapaneseCollator();
  if (!collator) return CompareBytes(a, b);
  static thread_local Scratch scratch;
  Prepared &x = scratch.side[0];
  Prepared &y = scratch.side[1];
  Prepare(scratch, a, x);
  Prepare(scratch, b, y);
  UCollationResult r = ucol_strcoll(
      collator, x.text.empty() ? u"" : x.text.data(), static_cast<int32_t>(x.text.size()),
      y.text.empty() ? u"" : y.text.data(), static_cast<int32_t>(y.text.size()));
  if (r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
  if (int c = CompareMarks(x.marks, y.marks)) return c;
  if (x.form != y.form) return x.form < y.form ? -1 : 1;
  return CompareBytes(a, b);
}

} // namespace
} // namespace platform

int CompareStringA(LCID /*locale*/, DWORD flags, LPCSTR a, int lenA, LPCSTR b, int lenB) {
  if (flags != 0 || a == nullptr || b == nullptr) return 0;
  std::string_view x(a, lenA < 0 ? std::strlen(a) : static_cast<size_t>(lenA));
  std::string_view y(b, lenB < 0 ? std::strlen(b) : static_cast<size_t>(lenB));
  return CSTR_EQUAL + platform::Compare(x, y);
}
