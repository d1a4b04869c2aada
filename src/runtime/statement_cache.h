// What the run loop and the statement handlers derive from the program
// text, kept per BASIC thread so that it is derived once. The program text
// never changes after loading, and every entry is keyed by everything its
// value depends on, so a cached value is the value that deriving it again
// would give. With QUILLRUNNER_CHECK_CACHE set, every use derives it again
// as well and a difference ends the process loudly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "data/variable_cells.h"
#include "runtime/program.h"

// A cut statement: its text, the counter behind it and the quote state
// after it.
struct CutEntry {
  std::string text;
  ProgramPosition end = 0;
  bool inQuotesAfter = false;
};

// The pieces of a FOR statement's argument text.
struct ForParts {
  std::string arg; // the argument text they were taken from
  bool valid = false;
  ProgramPosition exit = 0;
  std::string init; // "name=value" without blanks
  bool hasName = false;
  std::string name;    // the loop variable
  std::string endText; // without blanks
  bool hasStep = false;
  std::string stepText; // without blanks
  ScalarCell cell;      // the loop variable's
};

// The two block targets read behind a BLOCK marker.
struct BlockTargets {
  bool valid = false;
  uint32_t first = 0, second = 0;
};

struct StatementCache {
  // Keyed by the statement's position and the quote state it starts in.
  std::unordered_map<uint64_t, CutEntry> cuts;
  // Keyed by the FOR statement's position; the text is compared on use.
  std::unordered_map<ProgramPosition, ForParts> fors;
  // Keyed by the position of the targets' text.
  std::unordered_map<ProgramPosition, BlockTargets> blocks;
};

// Whether every cached value is checked against a fresh derivation (read
// from the environment once, at start).
extern const bool gCheckingCaches;
inline bool CheckingCaches() {
  return gCheckingCaches;
}

// Reports a cached value that differs from the fresh one and ends the
// process.
[[noreturn]] void CacheMismatch(const char *what, ProgramPosition at, std::string_view cached,
                                std::string_view fresh);
