// Scalar numeric variables resolved to their cells once, for the paths that
// read or write the same name again and again. A resolution stays valid
// while no table outside the routine scopes has gained, lost or moved a
// cell or been released (the generation counter) and the calling thread's
// local scope has the same layout: a cell of the local scope is kept as its
// index there, so that it holds in every frame of the routine.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/variable_table.h"
#include "data/variables.h"
#include "expr/number_text.h"
#include "runtime/check_mode.h"

// Bumped by every change that can move, hide or release a cell.
extern std::atomic<uint64_t> gVariableGeneration;

inline void BumpVariableGeneration() {
  gVariableGeneration.fetch_add(1, std::memory_order_acq_rel);
}

struct ScalarCell {
  uint64_t generation = 0; // 0: not resolved
  uint64_t layout = 0;     // the local scope's layout then (0: none, or empty)
  void *cell = nullptr;    // a cell outside the local scope
  size_t index = 0;        // LOCAL: the cell's index in the local scope's group
  int group = -1;          // 0 Double, 1 Integer, 2 Single
  bool local = false;      // the cell is the local scope's; neither: no numeric scalar
  bool numeric = false;    // a cell whose name's kind (KindOf) is numeric: writes go straight to it
  int implied = -1;        // neither: the kind the name implies (ImpliedKind), for making it
};

// The address of numeric cell INDEX of GROUP in TABLE.
[[gnu::always_inline]] inline void *CellOf(VariableTable &table, int group, size_t index) {
  switch (group) {
  case 0:
    return &table.doubles[index];
  case 1:
    return &table.integers[index];
  default:
    return &table.singles[index];
  }
}

// The address of a resolved cell (null when the name has no numeric
// scalar), LOCAL_TABLE being the calling thread's local scope.
[[gnu::always_inline]] inline void *CellAddress(const ScalarCell &c, VariableTable *localTable) {
  return c.local ? CellOf(*localTable, c.group, c.index) : c.cell;
}

[[gnu::always_inline]] inline double ReadCellAt(const void *cell, int group) {
  switch (group) {
  case 0:
    return *static_cast<const double *>(cell);
  case 1:
    return *static_cast<const int32_t *>(cell);
  default:
    return *static_cast<const float *>(cell);
  }
}

// The value in a cell that ResolveScalar has found (a numeric scalar).
[[gnu::always_inline]] inline double ReadScalarCell(const ScalarCell &c) {
  return ReadCellAt(CellAddress(c, LocalTable()), c.group);
}

// What a resolution is checked against: the generation and the calling
// thread's local table, taken once for several reads that change nothing.
struct CellScope {
  uint64_t generation;
  VariableTable *local;
  uint64_t layout;
};
CellScope CurrentCellScope();

// ReadScalar of NAME through CELL when CELL is current in SCOPE; otherwise
// ReadScalar itself, after which SCOPE is taken again (a failed read may
// have run an error trap).
double ReadScalarAgain(std::string_view name, ScalarCell &cell, CellScope &scope);
[[gnu::always_inline]] inline double ReadScalarIn(std::string_view name, ScalarCell &cell,
                                                  CellScope &scope) {
  if (cell.generation == scope.generation && cell.layout == scope.layout && !CheckingCaches())
      [[likely]] {
    const void *at = CellAddress(cell, scope.local);
    return at ? ReadCellAt(at, cell.group) : 0;
  }
  return ReadScalarAgain(name, cell, scope);
}

// GetNumeric of NAME, a plain scalar name (letters, digits, "_" and the
// type suffixes "#", "!", "%"), through CELL.
double ReadScalar(std::string_view name, ScalarCell &cell);

// Resolves CELL for NAME if needed; true when NAME names an existing
// numeric scalar whose kind (KindOf) is numeric, so that a write through
// WriteScalar does what SetNumeric would.
bool ResolveScalarAgain(std::string_view name, ScalarCell &cell);
// The layout of LOCAL, a local scope or none (0).
[[gnu::always_inline]] inline uint64_t LayoutOf(const VariableTable *local) {
  return local ? local->layout : 0;
}
// The layout of the calling thread's local scope.
[[gnu::always_inline]] inline uint64_t LocalLayout() {
  return LayoutOf(LocalTable());
}

[[gnu::always_inline]] inline bool ResolveScalar(std::string_view name, ScalarCell &cell) {
  if (cell.generation == gVariableGeneration.load(std::memory_order_acquire) &&
      cell.layout == LocalLayout() && !CheckingCaches()) [[likely]]
    return cell.numeric;
  return ResolveScalarAgain(name, cell);
}

// ReadScalar of NAME right after ResolveScalar has found its CELL.
double ReadResolvedChecked(std::string_view name, const ScalarCell &cell);
[[gnu::always_inline]] inline double ReadResolved(std::string_view name, const ScalarCell &cell) {
  if (CheckingCaches()) [[unlikely]]
    return ReadResolvedChecked(name, cell);
  return ReadScalarCell(cell);
}

// SetNumeric of the plain scalar NAME. When CELL, resolved before, is still
// current and found no numeric scalar of the name, the variable is made
// without searching the tables again.
void SetNumericThrough(std::string_view name, const ScalarCell &cell, double value);

// Stores VALUE in a cell that ResolveScalar has just found, converted as
// SetNumeric converts it.
[[gnu::always_inline]] inline void WriteCellAt(void *cell, int group, double value) {
  switch (group) {
  case 0:
    *static_cast<double *>(cell) = value;
    break;
  case 1:
    *static_cast<int32_t *>(cell) = num::TruncInt32(value);
    break;
  default:
    *static_cast<float *>(cell) = static_cast<float>(value);
  }
}
[[gnu::always_inline]] inline void WriteScalar(const ScalarCell &c, double value) {
  WriteCellAt(CellAddress(c, LocalTable()), c.group, value);
}

// KindOf of a name, kept while the generation and the local scope's layout
// are those it was taken in.
struct KindCache {
  uint64_t generation = 0; // 0: not taken
  uint64_t layout = 0;
  int kind = 0;
};
int KindOfAgain(std::string_view name, KindCache &cache);
[[gnu::always_inline]] inline int KindOfThrough(std::string_view name, KindCache &cache) {
  if (cache.generation == gVariableGeneration.load(std::memory_order_acquire) &&
      cache.layout == LocalLayout() && !CheckingCaches()) [[likely]]
    return cache.kind;
  return KindOfAgain(name, cache);
}

// A declared numeric array that is the only entry of its name in the
// local and global tables, so that every subscripted reference to the name
// means a cell of it (or a subscript error).
struct ArrayCells {
  uint64_t generation = 0; // 0: not resolved
  const VariableTable *local = nullptr;
  uint64_t localChanges = 0;      // the local scope's changes then
  VariableTable *table = nullptr; // null: the name is no such array
  int group = -1;
  size_t base = 0; // the array's first cell
  const std::vector<int32_t> *bounds = nullptr;
};

// Resolves ARRAY for NAME (without subscripts) if needed; true when NAME is
// such an array.
bool ResolveArrayAgain(std::string_view name, ArrayCells &array);
[[gnu::always_inline]] inline bool ResolveArray(std::string_view name, ArrayCells &array) {
  const VariableTable *local = LocalTable();
  if (array.generation == gVariableGeneration.load(std::memory_order_acquire) &&
      array.local == local && (!local || array.localChanges == local->changes) && !CheckingCaches())
      [[likely]]
    return array.table != nullptr;
  return ResolveArrayAgain(name, array);
}

// The value of the element at SUBS, or 0 after the runtime error that
// GetNumeric reports for subscripts that do not fit the bounds.
double ReadElement(const ArrayCells &array, const std::vector<int32_t> &subs);

// Stores VALUE at SUBS as SetNumeric does; nothing after the runtime error
// for subscripts that do not fit.
void WriteElement(const ArrayCells &array, const std::vector<int32_t> &subs, double value);
