// Face matching: the Windows Japanese face names through our own table (the
// fontconfig configuration maps them to Latin faces), everything else through
// fontconfig with the Japanese language added. The IPA families are found at
// their packaged files without fontconfig: its start-up reads its whole
// configuration, which costs most of a short program's run time, and every
// program needs the console font before its first PRINT. A name that no installed
// family answers to falls back to IPAGothic unless fontconfig found a face
// that covers Japanese anyway.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>
#include <unistd.h>

#include "platform/cp932.h"
#include "platform/font.h"
#include "platform/fontconfig_calls.h"

namespace platform::font {
namespace {

constexpr const char *DefaultFamily = "IPAGothic";
// Used when fontconfig itself cannot answer (no configuration at all).
constexpr const char *DefaultFiles[] = {
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
};

struct Alias {
  const char *name;  // UTF-8
  const char *cp932; // the Japanese spellings as programs write them, or null
  const char *family;
};
// Face names of Windows' Japanese fonts, in their Latin and Japanese
// spellings, and the IPA families that take their place.
constexpr Alias Aliases[] = {
    {"MS Gothic", nullptr, "IPAGothic"},
    {"\xEF\xBC\xAD\xEF\xBC\xB3 \xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF",
     "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E", "IPAGothic"},
    {"MS PGothic", nullptr, "IPAPGothic"},
    {"\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF",
     "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E", "IPAPGothic"},
    {"MS Mincho", nullptr, "IPAMincho"},
    {"\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D", "\x82\x6C\x82\x72 \x96\xBE\x92\xA9",
     "IPAMincho"},
    {"MS PMincho", nullptr, "IPAPMincho"},
    {"\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE6\x98\x8E\xE6\x9C\x9D",
     "\x82\x6C\x82\x72 \x82\x6F\x96\xBE\x92\xA9", "IPAPMincho"},
};

// A face name (code page 932) in UTF-8; the usual Japanese names without
// loading the converter, which a program's start would otherwise do.
std::string FaceNameUtf8(std::string_view faceName) {
  for (const Alias &a : Aliases)
    if (a.cp932 && faceName == a.cp932) return a.name;
  return cp932::ToUtf8(faceName);
}

// Where Debian's IPA font packages put each family. The packages hold one
// face per family (no bold or italic), so fontconfig answers every weight
// and slant of them with this file too.
struct PackagedFile {
  const char *family;
  const char *file;
};
constexpr PackagedFile PackagedFiles[] = {
    {"IPAGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"},
    {"IPAPGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"},
    {"IPAMincho", "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"},
    {"IPAPMincho", "/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf"},
};

// Face names compare without regard to ASCII letter case, as on Windows.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

// The packaged file of FAMILY into OUT; false when FAMILY has none or it is
// not installed.
bool Packaged(const std::string &family, FaceMatch &out) {
  for (const PackagedFile &p : PackagedFiles)
    if (SameName(family, p.family) && access(p.file, R_OK) == 0) {
      out = {p.file, 0, p.family};
      return true;
    }
  return false;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return std::string(s.substr(b, e - b));
}

// LOGFONT weights (1..1000, 0 = regular) on fontconfig's scale.
int FcWeightOf(LONG weight) {
  if (weight <= 0) return FC_WEIGHT_REGULAR;
  return FcWeightFromOpenType(std::min<LONG>(weight, 1000));
}

bool HasFamily(FcPattern *font, const std::string &family) {
  FcChar8 *value = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &value) == FcResultMatch; ++i)
    if (SameName(reinterpret_cast<const char *>(value), family)) return true;
  return false;
}

bool CoversJapanese(FcPattern *font) {
  FcLangSet *langs = nullptr;
  if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) != FcResultMatch) return false;
  return FcLangSetHasLang(langs, reinterpret_cast<const FcChar8 *>("ja")) != FcLangDifferentLang;
}

FaceMatch FromPattern(FcPattern *font) {
  FaceMatch m;
  FcChar8 *value = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &value) == FcResultMatch)
    m.file = reinterpret_cast<const char *>(value);
  int index = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) m.index = index;
  if (FcPatternGetString(font, FC_FAMILY, 0, &value) == FcResultMatch)
    m.family = reinterpret_cast<const char *>(value);
  return m;
}

// Asks fontconfig for FAMILY (empty: any) in Japanese; null when it has no
// answer. The caller destroys the result.
FcPattern *Query(const std::string &family, LONG weight, bool italic) {
  FcPattern *pattern = FcPatternCreate();
  if (!pattern) return nullptr;
  if (!family.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
  FcLangSet *langs = FcLangSetCreate();
  FcLangSetAdd(langs, reinterpret_cast<const FcChar8 *>("ja"));
  FcPatternAddLangSet(pattern, FC_LANG, langs);
  FcLangSetDestroy(langs);
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightOf(weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern *font = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  return font;
}

FaceMatch Fallback() {
  FaceMatch m;
  m.family = DefaultFamily;
  for (const char *file : DefaultFiles)
    if (access(file, R_OK) == 0) {
      m.file = file;
      break;
    }
  return m;
}

// Guards every fontconfig call and the answers already given.
std::mutex matchMutex;
bool started = false, finished = false;

// fontconfig keeps memory that only FcFini frees; free it at exit so that
// leak checkers see a clean process. Later questions get the fallback.
void Finish() {
  std::lock_guard<std::mutex> guard(matchMutex);
  if (started && !finished) FcFini();
  finished = true;
}

bool Start() {
  if (finished) return false;
  if (!started) {
    if (!lazy::Load(lazy::kFontconfig) || !FcInit()) return false;
    started = true;
    std::atexit(Finish);
  }
  return true;
}

FaceMatch Resolve(const std::string &name, LONG weight, bool italic) {
  std::string family = name.empty() ? DefaultFamily : name;
  bool aliased = false;
  for (const Alias &a : Aliases)
    if (SameName(family, a.name)) {
      family = a.family;
      aliased = true;
      break;
    }
  FaceMatch m;
  if (Packaged(family, m)) return m;
  if (!Start()) return Fallback();
  FcPattern *font = Query(family, weight, italic);
  if (font) {
    // A face named as asked, or at least one that draws Japanese; a Latin
    // stand-in for an absent family would draw Japanese text as blanks.
    if (HasFamily(font, family) || (!aliased && CoversJapanese(font))) m = FromPattern(font);
    FcPatternDestroy(font);
  }
  if (m.file.empty() && family != DefaultFamily && !Packaged(DefaultFamily, m)) {
    font = Query(DefaultFamily, weight, italic);
    if (font) {
      if (HasFamily(font, DefaultFamily) || CoversJapanese(font)) m = FromPattern(font);
      FcPatternDestroy(font);
    }
  }
  return m.file.empty() ? Fallback() : m;
}

} // namespace

FaceMatch MatchFace(std::string_view faceName, LONG weight, bool italic) {
  // A face name ends at its first 0 byte, as in a LOGFONT.
  faceName = faceName.substr(0, std::min(faceName.size(), faceName.find('\0')));
  std::string name = FaceNameUtf8(Trim(faceName));
  std::string key = name;
  for (char &c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  bool bold = weight >= 600;

  // fontconfig is asked once per name and style; its answers do not change
  // while we run. The lock also keeps fontconfig calls on one thread.
  static auto *cache = new std::map<std::tuple<std::string, bool, bool>, FaceMatch>();
  std::lock_guard<std::mutex> guard(matchMutex);
  auto k = std::make_tuple(key, bold, italic);
  auto it = cache->find(k);
  if (it != cache->end()) return it->second;
  FaceMatch m = Resolve(name, bold ? FW_BOLD : FW_NORMAL, italic);
  if (cache->size() >= 1024) cache->clear(); // names come from programs: keep it bounded
  cache->emplace(k, m);
  return m;
}

} // namespace platform::font
