// Scalar numeric variables resolved to their cells once, for the paths that
// read or write the same name again and again. A resolution stays valid
// while no table has gained, lost or moved a cell or been released (the
// generation counter) and the calling thread's local scope is the same.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/variable_table.h"
#include "data/variables.h"
#include "runtime/check_mode.h"

// Bumped by every change that can move, hide or release a cell.
extern std::atomic<uint64_t> gVariableGeneration;

inline void BumpVariableGeneration() {
  gVariableGeneration.fetch_add(1, std::memory_order_acq_rel);
}

struct ScalarCell {
  uint64_t generation = 0; // 0: not resolved
  const VariableTable *local = nullptr;
  void *cell = nullptr; // null: the name has no numeric scalar
  int group = -1;       // 0 Double, 1 Integer, 2 Single
  bool numeric = false; // a cell whose name's kind (KindOf) is numeric: writes go straight to it
};

// The value in a resolved cell.
inline double ReadScalarCell(const ScalarCell &c) {
  switch (c.group) {
  case 0:
    return *static_cast<const double *>(c.cell);
  case 1:
    return *static_cast<const int32_t *>(c.cell);
  default:
    return *static_cast<const float *>(c.cell);
  }
}

// What a resolution is checked against: the generation and the calling
// thread's local table, taken once for several reads that change nothing.
struct CellScope {
  uint64_t generation;
  const VariableTable *local;
};
CellScope CurrentCellScope();

// ReadScalar of NAME through CELL when CELL is current in SCOPE; otherwise
// ReadScalar itself, after which SCOPE is taken again (a failed read may
// have run an error trap).
double ReadScalarAgain(std::string_view name, ScalarCell &cell, CellScope &scope);
inline double ReadScalarIn(std::string_view name, ScalarCell &cell, CellScope &scope) {
  if (cell.generation == scope.generation && cell.local == scope.local && !CheckingCaches())
      [[likely]]
    return cell.cell ? ReadScalarCell(cell) : 0;
  return ReadScalarAgain(name, cell, scope);
}

// GetNumeric of NAME, a plain scalar name (letters, digits, "_" and the
// type suffixes "#", "!", "%"), through CELL.
double ReadScalar(std::string_view name, ScalarCell &cell);

// Resolves CELL for NAME if needed; true when NAME names an existing
// numeric scalar whose kind (KindOf) is numeric, so that a write through
// WriteScalar does what SetNumeric would.
bool ResolveScalarAgain(std::string_view name, ScalarCell &cell);
inline bool ResolveScalar(std::string_view name, ScalarCell &cell) {
  if (cell.generation == gVariableGeneration.load(std::memory_order_acquire) &&
      cell.local == LocalTable() && !CheckingCaches()) [[likely]]
    return cell.numeric;
  return ResolveScalarAgain(name, cell);
}

// ReadScalar of NAME right after ResolveScalar has found its CELL.
double ReadResolvedChecked(std::string_view name, const ScalarCell &cell);
inline double ReadResolved(std::string_view name, const ScalarCell &cell) {
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
void WriteScalar(const ScalarCell &cell, double value);

// A declared numeric array that is the only entry of its name in the
// local and global tables, so that every subscripted reference to the name
// means a cell of it (or a subscript error).
struct ArrayCells {
  uint64_t generation = 0; // 0: not resolved
  const VariableTable *local = nullptr;
  VariableTable *table = nullptr; // null: the name is no such array
  int group = -1;
  size_t base = 0; // the array's first cell
  const std::vector<int32_t> *bounds = nullptr;
};

// Resolves ARRAY for NAME (without subscripts) if needed; true when NAME is
// such an array.
bool ResolveArrayAgain(std::string_view name, ArrayCells &array);
inline bool ResolveArray(std::string_view name, ArrayCells &array) {
  if (array.generation == gVariableGeneration.load(std::memory_order_acquire) &&
      array.local == LocalTable() && !CheckingCaches()) [[likely]]
    return array.table != nullptr;
  return ResolveArrayAgain(name, array);
}

// The value of the element at SUBS, or 0 after the runtime error that
// GetNumeric reports for subscripts that do not fit the bounds.
double ReadElement(const ArrayCells &array, const std::vector<int32_t> &subs);

// Stores VALUE at SUBS as SetNumeric does; nothing after the runtime error
// for subscripts that do not fit.
void WriteElement(const ArrayCells &array, const std::vector<int32_t> &subs, double value);
