#include "data/declarations.h"

#include <cctype>

#include "data/variable_cells.h"
#include "data/variables.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "runtime/tokens.h"

namespace {

// Record types may hold records; a type that holds itself would recurse for
// ever, so the nesting is bounded.
constexpr int kMaxRecordNesting = 32;
thread_local int tlsRecordNesting = 0;

// Declares the members of the TYPE definition at POSITION into TABLE: the
// lines behind the TYPE line up to END TYPE.
bool FillRecord(VariableTable &table, ProgramPosition position, ThreadIndex slot) {
  Engine &e = E();
  const Program &prog = e.program;
  if (tlsRecordNesting >= kMaxRecordNesting) {
    RuntimeError();
    return false;
  }
  struct Nest {
    Nest() { ++tlsRecordNesting; }
    ~Nest() { --tlsRecordNesting; }
  } nest;
  ProgramPosition p = position;
  while (prog.At(p) != '\n' && prog.At(p) != 0) ++p;
  for (;;) {
    if (prog.At(p) == 0) {
      if (slot != kNoThread) e.threads.slots[slot].counter = p;
      RuntimeError();
      return false;
    }
    ++p; // past the line feed
    while (std::isdigit(prog.At(p)) || prog.At(p) == ' ') ++p;
    if (prog.At(p) == tok::kControl && prog.At(p + 1) == tok::kEndType) return true;
    std::string line;
    while (prog.At(p) != '\n' && prog.At(p) != 0) line.push_back(static_cast<char>(prog.At(p++)));
    if (!line.empty()) Declare(line, slot, &table);
  }
}

} // namespace

void Declare(const std::string &text, ThreadIndex slot, VariableTable *table) {
  std::string s = StripBlanks(text);
  VariableTable &target = table ? *table : CurrentScope();
  std::string decl;
  size_t at = 0;
  while (at < s.size()) {
    at = NextArgument(s, at, decl);
    if (decl.empty()) continue;
    // name [(bounds)] [AS type]
    std::string typeName;
    size_t as =
        decl.find(std::string{static_cast<char>(tok::kControl), static_cast<char>(tok::kAs)});
    if (as != std::string::npos) {
      typeName = decl.substr(as + 2);
      decl.resize(as);
    }
    int kind;
    ProgramPosition typePosition = 0;
    if (typeName.empty()) {
      kind = KindOf(decl);
    } else if (EqualsNoCase(typeName, "double")) {
      kind = kDouble;
    } else if (EqualsNoCase(typeName, "integer")) {
      kind = kInteger;
    } else if (EqualsNoCase(typeName, "single")) {
      kind = kSingle;
    } else if (EqualsNoCase(typeName, "string")) {
      kind = kString;
    } else {
      kind = kRecord;
      typePosition = ReadHex(typeName.c_str()).value_or(0);
      if (typePosition == 0) {
        RuntimeError();
        return;
      }
    }
    NameEntry entry;
    size_t open = decl.find('(');
    entry.name = decl.substr(0, open);
    if (!ValidNameStart(entry.name)) {
      RuntimeError();
      return;
    }
    size_t textLength = entry.name.size() + 1;
    if (open != std::string::npos) {
      Reference bounds;
      if (!ParseReference(decl, bounds)) return;
      entry.form = NameEntry::Form::Array;
      entry.dims = bounds.subscripts;
      uint64_t cells = ElementCount(entry.dims);
      if (cells > kMaxArrayCells) {
        RuntimeError();
        return;
      }
      entry.cells = static_cast<size_t>(cells);
      for (int32_t b : entry.dims) textLength += num::FormatD(b).size() + 1;
    }
    if (textLength + 1 > kMaxEntryText) {
      RuntimeError();
      return;
    }
    int group = GroupOf(kind);
    size_t first = target.CellCount(group);
    size_t cells = entry.cells;
    target.AddEntry(group, std::move(entry));
    if (kind == kRecord) {
      for (size_t i = 0; i < cells; ++i)
        if (!FillRecord(*target.records[first + i], typePosition, slot)) return;
    }
  }
}

bool DeclareNumericScalar(std::string_view name, VariableTable &table, int &group, size_t &cell,
                          KindCache &known) {
  if (!ValidNameStart(name) || name.size() + 2 > kMaxEntryText) return false;
  int kind = KindOfThrough(name, known);
  if (kind == kString || kind == kRecord) return false;
  group = GroupOf(kind);
  cell = table.CellCount(group);
  table.AddScalar(group, name);
  return true;
}

void DIM(std::string &arg, ThreadIndex slot) {
  Declare(arg, slot);
}

void DEF(std::string &arg, ThreadIndex) {
  std::string s = StripBlanks(arg);
  if (s.size() < 3) {
    RuntimeError();
    return;
  }
  std::string word = s.substr(s.size() - 3);
  std::string list = s.substr(0, s.size() - 3);
  for (char &c : list) c = static_cast<char>(std::toupper(static_cast<uint8_t>(c)));
  std::string letters;
  std::string element;
  size_t at = 0;
  while (at < list.size()) {
    at = NextArgument(list, at, element);
    auto isLetter = [](char c) { return c >= 'A' && c <= 'Z'; };
    if (element.size() == 1 && isLetter(element[0])) {
      letters += element;
    } else if (element.size() == 3 && element[1] == '-' && isLetter(element[0]) &&
               isLetter(element[2]) && element[0] <= element[2]) {
      for (char c = element[0]; c <= element[2]; ++c) letters.push_back(c);
    } else {
      RuntimeError();
      return;
    }
  }
  int index = EqualsNoCase(word, "int")   ? 0
              : EqualsNoCase(word, "sng") ? 1
              : EqualsNoCase(word, "str") ? 2
                                          : -1;
  if (index < 0) return;
  // The implied kinds change: what was derived from them is taken again.
  BumpVariableGeneration();
  // A letter already in the list is not added again, so the list never
  // outgrows its 255 places however often DEF runs.
  for (char c : letters) E().defaultTypes.Add(index, c);
}

void EraseName(const std::string &name) {
  if (!ValidNameStart(name)) {
    RuntimeError();
    return;
  }
  for (VariableTable *t : {LocalTable(), &E().globals}) {
    if (!t) continue;
    for (int g = 0; g < kGroupCount; ++g) {
      if (HasName(*t, g, name)) {
        EraseEntries(*t, g, name);
        return;
      }
    }
  }
}

void ERASE(std::string &arg, ThreadIndex) {
  size_t start = 0;
  for (;;) {
    size_t comma = arg.find(',', start);
    EraseName(StripBlanks(std::string_view(arg).substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}
