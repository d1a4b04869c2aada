// Declarations: DIM (scalars, arrays, records from TYPE definitions), DEF
// letter lists and ERASE.
#pragma once

#include <string>

#include "data/variable_table.h"
#include "flow/threads.h"

// The DIM statement's work on TEXT into TABLE (null: the current scope).
void Declare(const std::string &text, ThreadIndex slot, VariableTable *table = nullptr);

void DIM(std::string &arg, ThreadIndex slot);
void DEF(std::string &arg, ThreadIndex slot);
void ERASE(std::string &arg, ThreadIndex slot);

// Removes every entry of NAME under the kind it exists as.
void EraseName(const std::string &name);
