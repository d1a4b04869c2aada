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
  int kind = -1;        // KindOf the name when it has a cell
};

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
double ReadScalarIn(std::string_view name, ScalarCell &cell, CellScope &scope);

// GetNumeric of NAME, a plain scalar name (letters, digits, "_" and the
// type suffixes "#", "!", "%"), through CELL.
double ReadScalar(std::string_view name, ScalarCell &cell);

// Resolves CELL for NAME if needed; true when NAME names an existing
// numeric scalar whose kind (KindOf) is numeric, so that a write through
// WriteScalar does what SetNumeric would.
bool ResolveScalar(std::string_view name, ScalarCell &cell);

// ReadScalar of NAME right after ResolveScalar has found its CELL.
double ReadResolved(std::string_view name, const ScalarCell &cell);

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
bool ResolveArray(std::string_view name, ArrayCells &array);

// The value of the element at SUBS, or 0 after the runtime error that
// GetNumeric reports for subscripts that do not fit the bounds.
double ReadElement(const ArrayCells &array, const std::vector<int32_t> &subs);

// Stores VALUE at SUBS as SetNumeric does; nothing after the runtime error
// for subscripts that do not fit.
void WriteElement(const ArrayCells &array, const std::vector<int32_t> &subs, double value);
