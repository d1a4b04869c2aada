#include "runtime/source_map.h"

#include <algorithm>

namespace srcmap {
namespace {

// Written behind the map: the marker, then the length of the map's bytes.
constexpr char kMarker[] = "QRSRCMAP";
constexpr size_t kMarkerSize = 8;
// Bounds that keep a damaged map from costing more than its own size.
constexpr uint32_t kMaxText = 4096;

void Put32(std::string &out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift));
}

struct Reader {
  std::string_view s;
  size_t at = 0;
  bool ok = true;
  uint32_t Get32() {
    if (s.size() - at < 4) {
      ok = false;
      return 0;
    }
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(s[at++]);
    return v;
  }
  std::string GetText() {
    uint32_t n = Get32();
    if (!ok || n > kMaxText || s.size() - at < n) {
      ok = false;
      return {};
    }
    std::string t(s.substr(at, n));
    at += n;
    return t;
  }
};

} // namespace

const Entry *SourceMap::Find(uint32_t position) const {
  auto it = std::upper_bound(entries.begin(), entries.end(), position,
                             [](uint32_t p, const Entry &e) { return p < e.position; });
  if (it == entries.begin()) return nullptr;
  return &*(it - 1);
}

std::string SourceMap::Describe(uint32_t position) const {
  const Entry *e = Find(position);
  if (!e || e->file >= files.size()) return {};
  return files[e->file] + ":" + std::to_string(e->line) + ":" + std::to_string(e->column) +
         ": runtime error in " + e->text;
}

std::string Encode(const SourceMap &map) {
  std::string out;
  Put32(out, static_cast<uint32_t>(map.files.size()));
  for (const std::string &f : map.files) {
    std::string_view name(f.data(), std::min<size_t>(f.size(), kMaxText));
    Put32(out, static_cast<uint32_t>(name.size()));
    out += name;
  }
  Put32(out, static_cast<uint32_t>(map.entries.size()));
  for (const Entry &e : map.entries) {
    Put32(out, e.position);
    Put32(out, e.file);
    Put32(out, e.line);
    Put32(out, e.column);
    std::string_view text(e.text.data(), std::min<size_t>(e.text.size(), kMaxText));
    Put32(out, static_cast<uint32_t>(text.size()));
    out += text;
  }
  uint32_t length = static_cast<uint32_t>(out.size());
  out.append(kMarker, kMarkerSize);
  Put32(out, length);
  return out;
}

uint64_t TrailingLength(std::string_view trailer) {
  if (trailer.size() < kTrailerSize) return 0;
  std::string_view t = trailer.substr(trailer.size() - kTrailerSize);
  if (t.substr(0, kMarkerSize) != std::string_view(kMarker, kMarkerSize)) return 0;
  Reader r{t, kMarkerSize};
  return uint64_t{r.Get32()} + kTrailerSize;
}

bool DecodeTrailing(std::string_view bytes, SourceMap &map) {
  map = SourceMap{};
  uint64_t total = TrailingLength(bytes);
  if (total == 0 || total > bytes.size()) return false;
  Reader r{bytes.substr(bytes.size() - total, total - kTrailerSize)};
  SourceMap m;
  uint32_t files = r.Get32();
  // Every file name and entry takes at least 4 and 20 bytes.
  if (!r.ok || files > r.s.size() / 4) return false;
  for (uint32_t i = 0; i < files && r.ok; ++i) m.files.push_back(r.GetText());
  uint32_t entries = r.Get32();
  if (!r.ok || entries > r.s.size() / 20) return false;
  m.entries.reserve(entries);
  for (uint32_t i = 0; i < entries && r.ok; ++i) {
    Entry e;
    e.position = r.Get32();
    e.file = r.Get32();
    e.line = r.Get32();
    e.column = r.Get32();
    e.text = r.GetText();
    if (!m.entries.empty() && e.position < m.entries.back().position) r.ok = false;
    m.entries.push_back(std::move(e));
  }
  if (!r.ok || r.at != r.s.size()) return false;
  map = std::move(m);
  return true;
}

} // namespace srcmap
