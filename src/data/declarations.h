// Declarations: DIM (scalars, arrays, records from TYPE definitions), DEF
// letter lists and ERASE.
#pragma once

#include <string>
#include <string_view>

#include "data/variable_cells.h"
#include "data/variable_table.h"
#include "flow/threads.h"

// The DIM statement's work on TEXT into TABLE (null: the current scope).
void Declare(const std::string &text, ThreadIndex slot, VariableTable *table = nullptr);

// Declare of a parameter NAME that is a plain name (no subscripts, member
// path or AS clause) into TABLE, when the kind it takes is a number kind:
// the entry and its cell, whose group and index GROUP and CELL receive.
// False, with nothing done, for any other kind or a name Declare refuses.
// KIND keeps the name's kind from one call to the next.
bool DeclareNumericScalar(std::string_view name, VariableTable &table, int &group, size_t &cell,
                          KindCache &kind);

void DIM(std::string &arg, ThreadIndex slot);
void DEF(std::string &arg, ThreadIndex slot);
void ERASE(std::string &arg, ThreadIndex slot);

// Removes every entry of NAME under the kind it exists as.
void EraseName(const std::string &name);
