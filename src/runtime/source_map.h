// Where each statement of a program text came from: the source file, line
// and column of the statement and its source text. The builder makes the
// map; quill run and debug images carry it in front of the payload, and a
// runtime error that no trap catches names its statement with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace srcmap {

struct Entry {
  uint32_t position = 0; // of the statement's first byte in the program text
  uint32_t file = 0;     // index into SourceMap::files
  uint32_t line = 0;     // 1-based
  uint32_t column = 0;   // 1-based, in characters
  std::string text;      // the statement's source, code page 932
};

struct SourceMap {
  std::vector<std::string> files; // names as given to the builder
  std::vector<Entry> entries;     // ascending by position

  bool Empty() const { return entries.empty(); }
  // The statement that holds POSITION: the last one starting at or before
  // it; null when there is none.
  const Entry *Find(uint32_t position) const;
  // "FILE:LINE:COL: runtime error in TEXT" for the statement at POSITION
  // (code page 932 text); empty when the map has no such statement.
  std::string Describe(uint32_t position) const;
};

// The map's bytes followed by the marker and length that let a reader find
// it in front of a payload.
std::string Encode(const SourceMap &map);

// Reads the map that ends at BYTES' end (as Encode wrote it). False, with
// MAP empty, when there is none or it does not fit.
bool DecodeTrailing(std::string_view bytes, SourceMap &map);

// The length of the marker and length word behind the map's bytes.
constexpr size_t kTrailerSize = 12;
// The length of the whole encoded map whose trailer ends BYTES' end, or 0.
uint64_t TrailingLength(std::string_view trailer);

} // namespace srcmap
