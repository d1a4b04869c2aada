// One scope of variables: for each of the five kinds, the entries in the
// order they were made (scalars, declared arrays, undeclared elements) and
// the cells behind them in the same order. Lookups take the first entry
// that matches, and a cell's index is the sum of the cells in front of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum VariableKind : int { kDouble = 0, kInteger = 1, kSingle = 2, kString = 3, kRecord = 1000 };

// The five groups of a table, in search order.
constexpr int kGroupCount = 5;
inline int GroupOf(int kind) {
  return kind == kRecord ? 4 : kind;
}
inline int KindOfGroup(int group) {
  return group == 4 ? kRecord : group;
}

// Limits programs can see: the text of one entry, the dimensions of one
// array, and the cells of one array (more would exhaust memory).
constexpr size_t kMaxEntryText = 1023;
constexpr size_t kMaxDimensions = 255;
constexpr uint64_t kMaxArrayCells = 64u * 1024 * 1024;

struct VariableTable;

struct NameEntry {
  enum class Form : uint8_t { Scalar, Array, Element };
  std::string name;
  Form form = Form::Scalar;
  std::vector<int32_t> dims; // upper bounds (Array) or subscripts (Element)
  size_t cells = 1;
};

struct VariableTable {
  VariableTable();
  ~VariableTable();
  // A routine's local scope. Its changes do not bump the variable
  // generation: they give it a new layout, an id that two local tables share
  // while they hold the same entries in the same order, so that what was
  // resolved in one frame of a routine holds in the next. CHANGES counts
  // its changes, for what points into this very table.
  bool scoped = false;
  uint64_t layout = 0; // 0: empty
  uint64_t changes = 0;
  std::vector<NameEntry> entries[kGroupCount];
  std::vector<double> doubles;
  std::vector<int32_t> integers;
  std::vector<float> singles;
  std::vector<std::string> strings; // string text form
  std::vector<std::unique_ptr<VariableTable>> records;

  size_t CellCount(int group) const;
  // Appends ENTRY to GROUP with its zero cells (records are made empty).
  void AddEntry(int group, NameEntry entry);
  // Removes COUNT cells of GROUP from index AT on.
  void RemoveCells(int group, size_t at, size_t count);
  void Clear();

private:
  // Records a change: a new layout for a local scope, else a new generation.
  void Changed(uint64_t newLayout);
};

// A parsed reference: a name and its subscripts (none for a scalar).
struct Reference {
  std::string name;
  std::vector<int32_t> subscripts;
  bool subscripted = false;
};

// Splits REF ("name" or "name(e1,e2...)") and evaluates the subscripts.
// False after a runtime error (negative subscript, too many).
bool ParseReference(std::string_view ref, Reference &out);

// The product of (bound + 1) over BOUNDS.
uint64_t ElementCount(const std::vector<int32_t> &bounds);

// Row-major index of SUBS in an array of BOUNDS; false after a runtime
// error (wrong number of subscripts, subscript above its bound).
bool LinearIndex(const std::vector<int32_t> &subs, const std::vector<int32_t> &bounds,
                 size_t &index);

// Result of FindCell: the cell index, not found, or an error that was
// already reported.
constexpr long kNotFound = -1;
constexpr long kFindError = -2;
long FindCell(const std::vector<NameEntry> &entries, const Reference &ref);

// FindCell of the scalar NAME (a reference without subscripts).
long FindScalarCell(const std::vector<NameEntry> &entries, std::string_view name);

// Whether any entry of GROUP is named NAME.
bool HasName(const VariableTable &table, int group, std::string_view name);

// Deep copy of SOURCE's cells over TARGET's, cell by cell, as many as the
// target has.
void CopyRecord(VariableTable &target, const VariableTable &source);

// Removes every entry named NAME from GROUP, with its cells.
void EraseEntries(VariableTable &table, int group, std::string_view name);
