// Glyph rasterisation with FreeType and the process-wide glyph cache.
//
// Quality: NONANTIALIASED, DEFAULT, DRAFT and PROOF give 1-bit glyphs
// (FreeType's monochrome hinting), which is how GDI draws Japanese faces at
// screen sizes and keeps drawing exact; ANTIALIASED and the CLEARTYPE
// qualities give 8-bit coverage, blended over the destination (greyscale, no
// sub-pixel colour). Bold without a bold face strikes each glyph twice, one
// pixel apart (more at large sizes), and widens its advance by as much, as
// GDI's synthetic bold does.
//
// The cache holds glyph images by (render settings, code point) up to a byte
// limit, dropping the least recently used ones: a console repaint finds every
// glyph it drew before and rasterises nothing.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <atomic>
#include <list>
#include <unordered_map>

#include "platform/font_internal.h"

namespace platform::font {
namespace {

std::atomic<uint64_t> rendered{0};

struct Key {
  uint64_t renderId;
  uint32_t code;
  bool operator==(const Key &) const = default;
};
struct KeyHash {
  size_t operator()(const Key &k) const {
    return std::hash<uint64_t>()(k.renderId * 0x9E3779B97F4A7C15ull ^ k.code);
  }
};

// Code points without a mapping are blanks whose width depends on the bytes
// they took.
uint32_t CacheCode(const Unit &u) {
  return u.code == NoCode ? 0xFFFFFF00u + u.bytes : u.code;
}

class Cache {
public:
  // Finds KEY, making it the most recently used; null when absent. The
  // caller holds MUTEX.
  GlyphRef Find(const Key &key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, it->second);
    return it->second->second;
  }
  // Adds GLYPH unless KEY is already there; returns the cached glyph.
  GlyphRef Add(const Key &key, GlyphRef glyph) {
    if (GlyphRef existing = Find(key)) return existing;
    entries_.emplace_front(key, glyph);
    index_.emplace(key, entries_.begin());
    bytes_ += glyph->Bytes();
    Trim();
    return glyph;
  }
  void Trim() {
    // The newest glyph stays even when it alone exceeds the limit.
    while (bytes_ > limit_ && entries_.size() > 1) {
      auto &last = entries_.back();
      bytes_ -= last.second->Bytes();
      index_.erase(last.first);
      entries_.pop_back();
    }
  }
  void Clear() {
    index_.clear();
    entries_.clear();
    bytes_ = 0;
  }
  void SetLimit(size_t bytes) {
    limit_ = bytes;
    Trim();
  }
  size_t Bytes() const { return bytes_; }

  std::mutex mutex;

private:
  std::list<std::pair<Key, GlyphRef>> entries_; // most recently used first
  std::unordered_map<Key, decltype(entries_)::iterator, KeyHash> index_;
  size_t bytes_ = 0;
  size_t limit_ = 32u << 20;
};

Cache &TheCache() {
  static auto *cache = new Cache();
  return *cache;
}

// Copies FreeType's bitmap as 8-bit coverage.
void CopyBitmap(const FT_Bitmap &bitmap, Glyph &g) {
  g.width = static_cast<int>(bitmap.width);
  g.rows = static_cast<int>(bitmap.rows);
  g.coverage.assign(static_cast<size_t>(g.width) * g.rows, 0);
  int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
  for (int r = 0; r < g.rows; ++r) {
    const uint8_t *src =
        bitmap.buffer + static_cast<ptrdiff_t>(bitmap.pitch < 0 ? g.rows - 1 - r : r) * pitch;
    uint8_t *dst = g.coverage.data() + static_cast<size_t>(r) * g.width;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (int c = 0; c < g.width; ++c) dst[c] = (src[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
    } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
      for (int c = 0; c < g.width; ++c) dst[c] = static_cast<uint8_t>(src[c] * 255 / levels);
    }
  }
}

// Widens every stroke by SHIFT pixels to the right: the image drawn again
// SHIFT times, one pixel further each time.
void Embolden(Glyph &g, int shift) {
  if (g.width == 0 || g.rows == 0) {
    g.advance += shift;
    return;
  }
  int width = g.width + shift;
  std::vector<uint8_t> out(static_cast<size_t>(width) * g.rows, 0);
  for (int r = 0; r < g.rows; ++r) {
    const uint8_t *src = g.coverage.data() + static_cast<size_t>(r) * g.width;
    uint8_t *dst = out.data() + static_cast<size_t>(r) * width;
    for (int c = 0; c < g.width; ++c)
      for (int s = 0; s <= shift; ++s) dst[c + s] = std::max(dst[c + s], src[c]);
  }
  g.coverage = std::move(out);
  g.width = width;
  g.advance += shift;
}

} // namespace

GlyphRef Font::Render(uint32_t code, int bytes) const {
  rendered.fetch_add(1, std::memory_order_relaxed);
  auto glyph = std::make_shared<Glyph>();
  glyph->advance = bytes == 2 ? fullBlank : halfBlank;
  // Control characters and bytes without a mapping are blanks of their width.
  if (!face || code == NoCode || code < 0x20 || code == 0x7F) return glyph;
  std::lock_guard<std::mutex> guard(faceMutex);
  FT_Face from = face;
  bool bolden = info.fakeBold;
  FT_UInt index = FT_Get_Char_Index(face, code);
  if (index == 0 && fallback) {
    from = fallback;
    bolden = fallbackFakeBold;
    index = FT_Get_Char_Index(fallback, code);
  }
  if (index == 0) return glyph;
  FT_Int32 flags = info.antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
  if (FT_Load_Glyph(from, index, flags) != 0) return glyph;
  FT_GlyphSlot slot = from->glyph;
  if (FT_Render_Glyph(slot, info.antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
    return glyph;
  CopyBitmap(slot->bitmap, *glyph);
  glyph->left = slot->bitmap_left;
  glyph->top = slot->bitmap_top;
  glyph->advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (bolden) Embolden(*glyph, std::max(1, info.emPixels / 32));
  return glyph;
}

void Glyphs(const Font &font, const std::vector<Unit> &units, std::vector<GlyphRef> &out) {
  Cache &cache = TheCache();
  out.assign(units.size(), nullptr);
  bool missing = false;
  {
    std::lock_guard<std::mutex> guard(cache.mutex);
    for (size_t i = 0; i < units.size(); ++i) {
      out[i] = cache.Find({font.renderId, CacheCode(units[i])});
      if (!out[i]) missing = true;
    }
  }
  if (!missing) return;
  // Rendered outside the cache lock (other fonts keep drawing meanwhile);
  // a character repeated in the text is rendered once.
  std::unordered_map<uint32_t, GlyphRef> fresh;
  for (size_t i = 0; i < units.size(); ++i) {
    if (out[i]) continue;
    uint32_t code = CacheCode(units[i]);
    auto it = fresh.find(code);
    if (it == fresh.end())
      it = fresh.emplace(code, font.Render(units[i].code, units[i].bytes)).first;
    out[i] = it->second;
  }
  std::lock_guard<std::mutex> guard(TheCache().mutex);
  for (auto &[code, glyph] : fresh) glyph = cache.Add({font.renderId, code}, glyph);
  for (size_t i = 0; i < units.size(); ++i) {
    auto it = fresh.find(CacheCode(units[i]));
    if (it != fresh.end()) out[i] = it->second;
  }
}

uint64_t GlyphsRendered() {
  return rendered.load(std::memory_order_relaxed);
}

size_t GlyphCacheBytes() {
  std::lock_guard<std::mutex> guard(TheCache().mutex);
  return TheCache().Bytes();
}

void SetGlyphCacheLimit(size_t bytes) {
  std::lock_guard<std::mutex> guard(TheCache().mutex);
  TheCache().SetLimit(bytes);
}

void ClearGlyphCache() {
  std::lock_guard<std::mutex> guard(TheCache().mutex);
  TheCache().Clear();
}

} // namespace platform::font
