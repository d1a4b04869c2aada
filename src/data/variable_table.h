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
  NameEntry() = default;
  explicit NameEntry(std::string_view scalarName) : name(scalarName) {}
  std::string name;
  Form form = Form::Scalar;
  std::vector<int32_t> dims; // upper bounds (Array) or subscripts (Element)
  size_t cells = 1;
};

// Whether two names are the same. Names are short: compared in place
// rather than through memcmp.
inline bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// The entries of one group, in order. Emptying the list keeps the entries'
// storage past the live ones, so that a routine's scope made again with
// the same names reuses them instead of making them anew.
class EntryList {
public:
  NameEntry *begin() { return storage_.data(); }
  NameEntry *end() { return storage_.data() + live_; }
  const NameEntry *begin() const { return storage_.data(); }
  const NameEntry *end() const { return storage_.data() + live_; }
  size_t size() const { return live_; }
  bool empty() const { return live_ == 0; }
  NameEntry &operator[](size_t i) { return storage_[i]; }
  const NameEntry &operator[](size_t i) const { return storage_[i]; }
  NameEntry &back() { return storage_[live_ - 1]; }

  void push_back(NameEntry &&entry) {
    if (live_ < storage_.size()) {
      storage_[live_] = std::move(entry);
    } else {
      storage_.push_back(std::move(entry));
    }
    ++live_;
  }
  // Appends the scalar entry NAME.
  void AppendScalar(std::string_view name) {
    if (live_ == storage_.size()) {
      storage_.emplace_back(name);
    } else {
      NameEntry &e = storage_[live_];
      if (!SameName(e.name, name)) e.name.assign(name);
      e.form = NameEntry::Form::Scalar;
      e.dims.clear();
      e.cells = 1;
    }
    ++live_;
  }
  void erase(size_t i) {
    storage_.erase(storage_.begin() + static_cast<long>(i));
    --live_;
  }
  void clear() {
    // Beyond this many the entries are let go.
    constexpr size_t kKept = 256;
    if (storage_.size() > kKept) storage_.clear();
    live_ = 0;
  }

private:
  std::vector<NameEntry> storage_;
  size_t live_ = 0;
};

// One layout transition a scoped table took: appending ENTRY to GROUP took
// it from layout FROM to TO.
struct LayoutStep {
  uint64_t from = 0, to = 0;
  int group = 0;
  NameEntry entry;
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
  EntryList entries[kGroupCount];
  std::vector<double> doubles;
  std::vector<int32_t> integers;
  std::vector<float> singles;
  std::vector<std::string> strings; // string text form
  std::vector<std::unique_ptr<VariableTable>> records;

  size_t CellCount(int group) const;
  // Appends ENTRY to GROUP with its zero cells (records are made empty).
  void AddEntry(int group, NameEntry &&entry);
  // Appends a scalar entry NAME to GROUP.
  void AddScalar(int group, std::string_view name);
  // Removes COUNT cells of GROUP from index AT on.
  void RemoveCells(int group, size_t at, size_t count);
  void Clear();

private:
  // Records a change: a new layout for a local scope, else a new generation.
  void Changed(uint64_t newLayout);
  // Appends COUNT zero cells (empty records) to GROUP.
  void AppendCells(int group, size_t count);
  // The layout that appending ENTRY to GROUP gives.
  uint64_t LayoutAfter(int group, const NameEntry &entry);
  // The transitions taken since the table was last empty, in order: the
  // next call of a routine at the same depth usually takes them again.
  std::vector<LayoutStep> steps_;
  size_t added_ = 0; // entries appended since the table was last empty
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
long FindCell(const EntryList &entries, const Reference &ref);

// FindCell of the scalar NAME (a reference without subscripts).
long FindScalarCell(const EntryList &entries, std::string_view name);

// Whether any entry of GROUP is named NAME.
bool HasName(const VariableTable &table, int group, std::string_view name);

// Deep copy of SOURCE's cells over TARGET's, cell by cell, as many as the
// target has.
void CopyRecord(VariableTable &target, const VariableTable &source);

// Removes every entry named NAME from GROUP, with its cells.
void EraseEntries(VariableTable &table, int group, std::string_view name);
