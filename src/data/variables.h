// The variable store: the global table, each thread's stack of routine
// scopes, the naming and type rules, and reads and writes by reference
// text ("name", "name(subscripts)", "record.member...").
#pragma once

#include <string>
#include <string_view>

#include "data/variable_table.h"
#include "flow/threads.h"

// The DEF letter lists ("int", "sng", "str"), each at most 255 letters, and
// the kind each upper-case letter implies through them: the first list that
// holds it.
struct DefaultTypes {
  std::string letters[3];
  int implied[26] = {};

  // Adds LETTER (A to Z) to list INDEX unless it is there already.
  void Add(int index, char letter);
  void Clear();
  // The kind a name's upper-cased first character implies.
  int KindOfFirst(char upper) const {
    return upper >= 'A' && upper <= 'Z' ? implied[upper - 'A'] : kDouble;
  }
};

// The kind of an existing variable (local scope, then global), else the
// implied kind of the name.
int KindOf(std::string_view ref);

// The kind a name implies by its suffix or the DEF letter lists.
int ImpliedKind(std::string_view name);

// Numeric reads and writes; TABLE (a record's table) instead of the scopes
// when given. Reading never creates; writing creates in the current scope.
double GetNumeric(std::string_view ref, VariableTable *table = nullptr);
void SetNumeric(std::string_view ref, double value, VariableTable *table = nullptr);

// GetNumeric(NAME, &T) when NAME, a name without subscripts or members, has
// a numeric scalar in T; false otherwise, with nothing read or reported.
bool ReadTableScalar(VariableTable &t, std::string_view name, double &value);

// Stores VALUE in cell CELL of numeric GROUP of T, converted as SetNumeric
// converts it.
void WriteCell(VariableTable &t, int group, size_t cell, double value);

// String reads (null when there is no such variable) and writes, in string
// text form.
const std::string *GetString(std::string_view ref, VariableTable *table = nullptr);
// GetString's cell, for changing the value where it stands.
std::string *GetStringCell(std::string_view ref, VariableTable *table = nullptr);
void SetString(std::string_view ref, std::string_view value, VariableTable *table = nullptr);
// SetString taking VALUE's buffer, so that a long value is not copied.
void StoreString(std::string_view ref, std::string &&value, VariableTable *table = nullptr);

// The table of a record variable, or null.
VariableTable *GetRecord(std::string_view ref, VariableTable *table = nullptr);

// The local table of the calling BASIC thread's running routine, or null.
inline VariableTable *LocalTable() {
  ThreadSlot *s = tlsCurrentSlot;
  return s ? s->local : nullptr;
}

// The table that new variables go to: the local one, else the global one.
VariableTable &CurrentScope();

// Releases the global table with everything in it.
void ResetGlobals();

// Routine scopes of a thread (pushed and popped by routine calls, all
// released when the thread ends).
void PushScope(ThreadIndex slot);
void PopScope(ThreadIndex slot);
void ReleaseScopes(ThreadIndex slot);

// Whether NAME is a valid variable name start ("A"-"Z", "a"-"z", "_").
bool ValidNameStart(std::string_view name);
