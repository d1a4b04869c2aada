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

#include <memory>
#include <optional>
#include <vector>

#include "data/assignment.h"
#include "data/variable_cells.h"
#include "flow/conditionals.h"
#include "runtime/call_statement.h"
#include "runtime/check_mode.h"
#include "runtime/program.h"
#include "runtime/statement_table.h"

// The pieces of a FOR statement's argument text.
struct ForParts {
  std::string arg; // the argument text they were taken from
  bool valid = false;
  ProgramPosition exit = 0;
  std::string init; // "name=value" without blanks
  bool hasName = false;
  std::string name;    // the loop variable
  NumericText endText; // without blanks
  bool hasStep = false;
  NumericText stepText; // without blanks
  ScalarCell cell;      // the loop variable's
  // The end and the step are number texts: their values, the end as its
  // number text reads back for the end test.
  bool constant = false;
  // The end and the step are number texts or plain names: evaluating them
  // runs nothing.
  bool readsOnly = false;
  double endValue = 0;
  double stepValue = 1;
};

enum class CutPath : uint8_t { Text, Direct, Marker, Calls };

// Bits of CutEntry::after: behind the statement a line ends (so does a
// single-line IF's reach), or the text and with it the run.
constexpr uint8_t kLineEnds = 1;
constexpr uint8_t kRunEnds = 2;

// A cut statement: its text, the counter behind it and the quote state
// after it.
struct CutEntry {
  bool made = false; // cut already
  std::string text;
  ProgramPosition end = 0;
  bool inQuotesAfter = false;
  // What the byte at END means to the run loop (kLineEnds, kRunEnds).
  uint8_t after = 0;
  // The statement that ran next the last time, when it started outside
  // quotes: where it starts and its entry, so that a loop or a run of
  // statements finds its next entry without a lookup.
  mutable ProgramPosition nextAt = 0;
  mutable const CutEntry *next = nullptr;
  // How the run loop runs the statement. One without control bytes (an
  // IF: before its THEN) has no calls to pre-evaluate, no ELSE to cut and
  // no marker: it is direct, given straight to its handler or assignment
  // plan. A marker, and one whose only control tokens are routine calls,
  // run from what was taken from their text too; the others run as text.
  CutPath path = CutPath::Text;
  bool brief = false;                 // neither waits nor calls: runs inside a held lock
  uint16_t code = 0;                  // the statement's token; 0: an assignment
  uint8_t marker = 0;                 // a marker's code
  StatementHandler handler = nullptr; // for a token
  std::string arg;                    // the argument text the handler receives
  std::unique_ptr<AssignPlan> assign; // for an assignment, when it has a plan
  // A NEXT's operand; a GOTO's or GOSUB's resolved; a marker's block or
  // jump target.
  std::optional<ProgramPosition> target;
  ConditionText condition;        // an IF's
  mutable IfOutcomes outcomes;    // an IF's, found on first use
  std::unique_ptr<ForParts> loop; // a FOR's argument text taken apart
  // A statement whose only control tokens are routine calls, cut out.
  std::unique_ptr<CallStatement> calls;
};

// The two block targets read behind a BLOCK marker.
struct BlockTargets {
  bool valid = false;
  uint32_t first = 0, second = 0;
};

// What a SUB or FUNCTION header says: its parameter declarations and
// names, what follows the parameter list (an AS clause for the value, or
// nothing) and where the body begins.
struct RoutineHeader {
  std::vector<std::string> params;
  std::vector<std::string> names;
  std::string valueType;
  ProgramPosition body = 0;
  bool plain = false; // every parameter a plain name, each name once
  bool operator==(const RoutineHeader &other) const {
    return params == other.params && names == other.names && valueType == other.valueType &&
           body == other.body && plain == other.plain;
  }
  // Kept from call to call: the plain parameters' kinds, and the value's
  // cell in the local scope.
  mutable std::vector<KindCache> kinds;
  mutable ScalarCell value;
};

struct StatementCache {
  // Statements that start outside quotes, by position (+2, the block's
  // first position being -2); made on first use.
  std::vector<std::unique_ptr<CutEntry>> positions;
  // The others, keyed by the statement's position and the quote state it
  // starts in.
  std::unordered_map<uint64_t, CutEntry> cuts;
  // Keyed by the FOR statement's position; the text is compared on use.
  std::unordered_map<ProgramPosition, ForParts> fors;
  // Keyed by the position of the targets' text.
  std::unordered_map<ProgramPosition, BlockTargets> blocks;
  // Keyed by the position of the header's "(".
  std::unordered_map<ProgramPosition, std::shared_ptr<const RoutineHeader>> headers;
};

// Reports a cached value that differs from the fresh one and ends the
// process.
[[noreturn]] void CacheMismatch(const char *what, ProgramPosition at, std::string_view cached,
                                std::string_view fresh);
