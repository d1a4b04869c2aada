#include "data/variables.h"

#include <bit>
#include <cctype>
#include <cmath>
#include <utility>

#include "data/variable_cells.h"
#include "expr/number_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "runtime/statement_cache.h"

namespace {

constexpr int kNumericGroups[] = {0, 1, 2};

// Splits REF at its first "." outside parentheses into the record part and
// the member path; false when there is none.
bool SplitMember(std::string_view ref, std::string_view &head, std::string_view &rest) {
  int depth = 0;
  for (size_t i = 0; i < ref.size(); ++i) {
    char c = ref[i];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == '.' && depth == 0) {
      head = ref.substr(0, i);
      rest = ref.substr(i + 1);
      return true;
    }
  }
  return false;
}

VariableTable &Globals() {
  return E().globals;
}

// The record table named by HEAD in TABLE (or the local scope, then the
// global one), or null.
VariableTable *FindRecord(std::string_view head, VariableTable *table, bool &error) {
  Reference ref;
  error = false;
  if (!ParseReference(head, ref)) {
    error = true;
    return nullptr;
  }
  VariableTable *scopes[2] = {table, nullptr};
  if (!table) {
    scopes[0] = LocalTable();
    scopes[1] = &Globals();
  }
  for (VariableTable *t : scopes) {
    if (!t) continue;
    long cell = FindCell(t->entries[4], ref);
    if (cell == kFindError) {
      error = true;
      return nullptr;
    }
    if (cell >= 0) return t->records[static_cast<size_t>(cell)].get();
  }
  return nullptr;
}

// Follows a member path to the table of its last component; the path's
// records must exist. Returns null after a runtime error.
VariableTable *ResolvePath(std::string_view ref, VariableTable *table, std::string_view &last) {
  std::string_view head, rest;
  last = ref;
  while (SplitMember(last, head, rest)) {
    bool error;
    VariableTable *record = FindRecord(head, table, error);
    if (!record) {
      if (!error) RuntimeError();
      return nullptr;
    }
    table = record;
    last = rest;
  }
  return table;
}

// Finds REF in the numeric groups of TABLE; the group and cell, or the
// group -1. A string of that name sets IS_STRING.
struct Found {
  int group = -1;
  long cell = kNotFound;
  bool error = false;
};

// FindNumeric of a name without subscripts, which cannot fail.
Found FindNumericScalar(const VariableTable &t, std::string_view name) {
  Found f;
  for (int g : kNumericGroups) {
    long cell = FindScalarCell(t.entries[g], name);
    if (cell >= 0) {
      f.group = g;
      f.cell = cell;
      break;
    }
  }
  return f;
}

Found FindNumeric(VariableTable &t, const Reference &ref) {
  if (!ref.subscripted) return FindNumericScalar(t, ref.name);
  Found f;
  for (int g : kNumericGroups) {
    long cell = FindCell(t.entries[g], ref);
    if (cell == kFindError) {
      f.error = true;
      return f;
    }
    if (cell >= 0) {
      f.group = g;
      f.cell = cell;
      return f;
    }
  }
  return f;
}

double ReadCell(VariableTable &t, int group, size_t cell) {
  switch (group) {
  case 0:
    return t.doubles[cell];
  case 1:
    return t.integers[cell];
  default:
    return t.singles[cell];
  }
}

} // namespace

void WriteCell(VariableTable &t, int group, size_t cell, double value) {
  switch (group) {
  case 0:
    t.doubles[cell] = value;
    break;
  case 1:
    t.integers[cell] = num::TruncInt32(value);
    break;
  default:
    t.singles[cell] = static_cast<float>(value);
  }
}

namespace {

// Appends a scalar or undeclared-element entry for REF with one cell.
bool CreateEntry(VariableTable &t, int group, const Reference &ref) {
  NameEntry e;
  e.name = ref.name;
  size_t textLength = ref.name.size();
  if (ref.subscripted) {
    e.form = NameEntry::Form::Element;
    e.dims = ref.subscripts;
    for (int32_t s : ref.subscripts) textLength += num::FormatD(s).size() + 1;
  }
  if (textLength + 2 > kMaxEntryText) {
    RuntimeError();
    return false;
  }
  t.AddEntry(group, std::move(e));
  return true;
}

// Whether a scope holds a string cell for REF.
bool HasStringCell(VariableTable &t, const Reference &ref) {
  return FindCell(t.entries[3], ref) >= 0;
}

} // namespace

bool ValidNameStart(std::string_view name) {
  return !name.empty() && (std::isalpha(static_cast<uint8_t>(name[0])) || name[0] == '_');
}

VariableTable &CurrentScope() {
  VariableTable *local = LocalTable();
  return local ? *local : Globals();
}

int ImpliedKind(std::string_view name) {
  // The last name of a member path, up to its subscripts. Names are short:
  // one pass over the bytes.
  size_t start = 0, end = name.size();
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '(') {
      end = i;
      break;
    }
    if (name[i] == '.') start = i + 1;
  }
  std::string_view last = name.substr(start, end - start);
  if (last.empty()) return kDouble;
  switch (last.back()) {
  case '#':
    return kDouble;
  case '!':
    return kSingle;
  case '%':
    return kInteger;
  case '$':
    return kString;
  }
  return E().defaultTypes.KindOfFirst(
      static_cast<char>(std::toupper(static_cast<uint8_t>(last[0]))));
}

void DefaultTypes::Add(int index, char letter) {
  static constexpr int kKinds[3] = {kInteger, kSingle, kString};
  std::string &list = letters[index];
  if (list.find(letter) != std::string::npos) return;
  list.push_back(letter);
  // The first list that holds the letter gives its kind.
  for (int i = 0; i < 3; ++i) {
    if (letters[i].find(letter) != std::string::npos) {
      implied[letter - 'A'] = kKinds[i];
      break;
    }
  }
}

void DefaultTypes::Clear() {
  for (std::string &list : letters) list.clear();
  for (int &kind : implied) kind = kDouble;
}

int KindOf(std::string_view ref) {
  size_t open = ref.size();
  bool dot = false;
  for (size_t i = 0; i < ref.size(); ++i) {
    if (ref[i] == '.') dot = true;
    if (ref[i] == '(' && open == ref.size()) open = i;
  }
  std::string_view head, rest;
  if (dot && SplitMember(ref, head, rest)) {
    std::string_view last;
    // Looking the kind up must not report anything: a missing record
    // leaves the implied kind.
    VariableTable *table = nullptr;
    std::string_view path = ref;
    while (SplitMember(path, head, rest)) {
      bool error;
      VariableTable *record = FindRecord(head, table, error);
      if (!record) return ImpliedKind(ref);
      table = record;
      path = rest;
    }
    last = path;
    std::string_view name = last.substr(0, last.find('('));
    for (int g = 0; g < kGroupCount; ++g)
      if (HasName(*table, g, name)) return KindOfGroup(g);
    return ImpliedKind(ref);
  }
  std::string_view name = ref.substr(0, open);
  for (VariableTable *t : {LocalTable(), &Globals()}) {
    if (!t) continue;
    for (int g = 0; g < kGroupCount; ++g)
      if (HasName(*t, g, name)) return KindOfGroup(g);
  }
  return ImpliedKind(ref);
}

namespace {

// What every read and write does first: checks the name, follows a member
// path to its record's table, evaluates the subscripts, and lists the
// tables to search (the given one, or the local scope and then the global
// one). False after a runtime error.
struct Lookup {
  Reference ref;
  VariableTable *explicitTable = nullptr;
  VariableTable *scopes[2] = {nullptr, nullptr};
};

bool Prepare(std::string_view refText, VariableTable *table, Lookup &out) {
  if (!ValidNameStart(refText)) {
    RuntimeError();
    return false;
  }
  std::string_view last, head, rest;
  if (SplitMember(refText, head, rest)) {
    table = ResolvePath(refText, table, last);
    if (!table) return false;
    refText = last;
  }
  if (!ParseReference(refText, out.ref)) return false;
  out.explicitTable = table;
  out.scopes[0] = table ? table : LocalTable();
  out.scopes[1] = table ? nullptr : &Globals();
  return true;
}

// The string cell of a lookup, or null; ERROR after a reported error.
std::string *FindStringCell(Lookup &l, bool &error) {
  error = false;
  for (VariableTable *t : l.scopes) {
    if (!t) continue;
    long cell = FindCell(t->entries[3], l.ref);
    if (cell == kFindError) {
      error = true;
      return nullptr;
    }
    if (cell >= 0) return &t->strings[static_cast<size_t>(cell)];
  }
  return nullptr;
}

} // namespace

namespace {

// CreateNumeric of the scalar NAME, whose implied kind is KIND. A name that
// implies a string (or a record) cannot take a number: it is refused
// rather than given an entry without a proper cell.
void CreateScalar(std::string_view name, int kind, double value) {
  if (kind == kString || kind == kRecord || name.size() + 2 > kMaxEntryText) {
    RuntimeError();
    return;
  }
  VariableTable &scope = CurrentScope();
  scope.AddScalar(kind, name);
  WriteCell(scope, kind, scope.CellCount(kind) - 1, value);
}

// What SetNumeric does once no scope holds a numeric cell for REF: makes
// one in the current scope, of the kind the name implies.
void CreateNumeric(const Reference &ref, double value) {
  int kind = ImpliedKind(ref.name);
  if (!ref.subscripted) {
    CreateScalar(ref.name, kind, value);
    return;
  }
  if (kind == kString || kind == kRecord) {
    RuntimeError();
    return;
  }
  VariableTable &scope = CurrentScope();
  if (CreateEntry(scope, kind, ref)) WriteCell(scope, kind, scope.CellCount(kind) - 1, value);
}

} // namespace

double GetNumeric(std::string_view refText, VariableTable *table) {
  Lookup l;
  if (!Prepare(refText, table, l)) return 0;
  for (VariableTable *t : l.scopes) {
    if (!t) continue;
    Found f = FindNumeric(*t, l.ref);
    if (f.error) return 0;
    if (f.group >= 0) return ReadCell(*t, f.group, static_cast<size_t>(f.cell));
    if (HasStringCell(*t, l.ref)) {
      RuntimeError();
      return 0;
    }
  }
  if (l.explicitTable) RuntimeError();
  return 0;
}

void SetNumeric(std::string_view refText, double value, VariableTable *table) {
  Lookup l;
  if (!Prepare(refText, table, l)) return;
  for (VariableTable *t : l.scopes) {
    if (!t) continue;
    Found f = FindNumeric(*t, l.ref);
    if (f.error) return;
    if (f.group >= 0) {
      WriteCell(*t, f.group, static_cast<size_t>(f.cell), value);
      return;
    }
  }
  if (l.explicitTable) {
    RuntimeError();
    return;
  }
  CreateNumeric(l.ref, value);
}

const std::string *GetString(std::string_view refText, VariableTable *table) {
  return GetStringCell(refText, table);
}

std::string *GetStringCell(std::string_view refText, VariableTable *table) {
  Lookup l;
  if (!Prepare(refText, table, l)) return nullptr;
  bool error;
  std::string *cell = FindStringCell(l, error);
  if (!cell && !error && l.explicitTable) RuntimeError();
  return cell;
}

namespace {

// SetString and StoreString: STORE puts the value into a cell.
template <typename Store>
void PutString(std::string_view refText, VariableTable *table, const Store &store) {
  Lookup l;
  if (!Prepare(refText, table, l)) return;
  bool error;
  if (std::string *cell = FindStringCell(l, error)) {
    store(*cell);
    return;
  }
  if (error) return;
  if (l.explicitTable) {
    RuntimeError();
    return;
  }
  VariableTable &scope = CurrentScope();
  if (CreateEntry(scope, 3, l.ref)) store(scope.strings.back());
}

} // namespace

void SetString(std::string_view refText, std::string_view value, VariableTable *table) {
  PutString(refText, table, [&](std::string &cell) { cell.assign(value); });
}

void StoreString(std::string_view refText, std::string &&value, VariableTable *table) {
  PutString(refText, table, [&](std::string &cell) { cell = std::move(value); });
}

VariableTable *GetRecord(std::string_view refText, VariableTable *table) {
  std::string_view last, head, rest;
  if (SplitMember(refText, head, rest)) {
    table = ResolvePath(refText, table, last);
    if (!table) return nullptr;
    refText = last;
  }
  bool error;
  return FindRecord(refText, table, error);
}

void ResetGlobals() {
  Globals().Clear();
}

void PushScope(ThreadIndex slot) {
  ThreadSlot &s = E().threads.slots[slot];
  size_t depth = static_cast<size_t>(s.scopeDepth + 1);
  if (s.scopes.size() <= depth) s.scopes.resize(depth + 1);
  // A table left by an earlier call at this depth is empty and is used
  // again, with the room its vectors had.
  if (!s.scopes[depth]) {
    s.scopes[depth] = std::make_unique<VariableTable>();
    s.scopes[depth]->scoped = true;
  }
  s.SetScopeDepth(s.scopeDepth + 1);
}

void PopScope(ThreadIndex slot) {
  ThreadSlot &s = E().threads.slots[slot];
  if (s.scopeDepth < 0) return;
  s.scopes[static_cast<size_t>(s.scopeDepth)]->Clear();
  s.SetScopeDepth(s.scopeDepth - 1);
}

void ReleaseScopes(ThreadIndex slot) {
  ThreadSlot &s = E().threads.slots[slot];
  s.SetScopeDepth(-1);
  s.scopes.clear();
}

namespace {

// Where GetNumeric and SetNumeric would find the scalar NAME: the first
// numeric scalar entry in the local table, else in the global one. A string
// of that name in a scope searched first makes the read an error, which is
// left to GetNumeric.
bool FindScalar(std::string_view name, VariableTable *local, ScalarCell &out) {
  out.cell = nullptr;
  out.index = 0;
  out.group = -1;
  out.local = false;
  out.numeric = false;
  out.implied = -1;
  for (VariableTable *t : {local, &Globals()}) {
    if (!t) continue;
    Found f = FindNumericScalar(*t, name);
    if (f.group >= 0) {
      size_t at = static_cast<size_t>(f.cell);
      out.group = f.group;
      if (t == local) {
        // Kept as an index: the same index in every frame of the routine.
        out.local = true;
        out.index = at;
      } else {
        out.cell = CellOf(*t, f.group, at);
      }
      // A numeric entry in the local table comes before any string or
      // record of the name there, so the name's kind is numeric.
      int kind = t == local ? kDouble : KindOf(name);
      out.numeric = kind != kString && kind != kRecord;
      return true;
    }
    if (FindScalarCell(t->entries[3], name) >= 0) return false;
  }
  out.implied = ImpliedKind(name);
  return true;
}

bool Current(const ScalarCell &c, const VariableTable *local) {
  return c.generation == gVariableGeneration.load(std::memory_order_acquire) &&
         c.layout == LayoutOf(local);
}

// Resolves C for NAME; false when the name must take the general path.
bool Resolve(std::string_view name, ScalarCell &c) {
  VariableTable *local = LocalTable();
  if (Current(c, local)) {
    if (CheckingCaches()) {
      ScalarCell fresh;
      if (!FindScalar(name, local, fresh) || fresh.cell != c.cell || fresh.local != c.local ||
          fresh.index != c.index || fresh.group != c.group || fresh.numeric != c.numeric ||
          fresh.implied != c.implied)
        CacheMismatch("variable cell", 0, name, "a different cell");
    }
    return true;
  }
  uint64_t generation = gVariableGeneration.load(std::memory_order_acquire);
  if (!FindScalar(name, local, c)) {
    c.generation = 0;
    return false;
  }
  c.generation = generation;
  c.layout = LayoutOf(local);
  return true;
}

} // namespace

double ReadScalar(std::string_view name, ScalarCell &c) {
  if (!Resolve(name, c)) return GetNumeric(name);
  const void *at = CellAddress(c, LocalTable());
  double v = at ? ReadCellAt(at, c.group) : 0;
  if (CheckingCaches()) {
    double fresh = GetNumeric(name);
    if (std::bit_cast<uint64_t>(fresh) != std::bit_cast<uint64_t>(v))
      CacheMismatch("variable read", 0, name, num::FormatG15(fresh));
  }
  return v;
}

double ReadResolvedChecked(std::string_view name, const ScalarCell &c) {
  double v = ReadScalarCell(c);
  if (CheckingCaches()) {
    double fresh = GetNumeric(name);
    if (std::bit_cast<uint64_t>(fresh) != std::bit_cast<uint64_t>(v))
      CacheMismatch("variable read", 0, name, num::FormatG15(fresh));
  }
  return v;
}

CellScope CurrentCellScope() {
  VariableTable *local = LocalTable();
  return CellScope{gVariableGeneration.load(std::memory_order_acquire), local, LayoutOf(local)};
}

double ReadScalarAgain(std::string_view name, ScalarCell &c, CellScope &scope) {
  double v = ReadScalar(name, c);
  scope = CurrentCellScope();
  return v;
}

int KindOfAgain(std::string_view name, KindCache &cache) {
  uint64_t generation = gVariableGeneration.load(std::memory_order_acquire);
  uint64_t layout = LocalLayout();
  int kind = KindOf(name);
  if (cache.generation == generation && cache.layout == layout && kind != cache.kind)
    CacheMismatch("variable kind", 0, name, "another kind");
  cache = KindCache{generation, layout, kind};
  return kind;
}

bool ResolveScalarAgain(std::string_view name, ScalarCell &c) {
  return Resolve(name, c) && c.numeric;
}

bool ReadTableScalar(VariableTable &t, std::string_view name, double &value) {
  if (name.find_first_of("(.") != std::string_view::npos || !ValidNameStart(name)) return false;
  Found f = FindNumericScalar(t, name);
  if (f.group < 0) return false;
  value = ReadCell(t, f.group, static_cast<size_t>(f.cell));
  return true;
}

void SetNumericThrough(std::string_view name, const ScalarCell &c, double value) {
  if (!CheckingCaches() && !c.cell && !c.local && Current(c, LocalTable())) {
    CreateScalar(name, c.implied, value);
    return;
  }
  SetNumeric(name, value);
}

namespace {

// Whether NAME has exactly one entry in the local and global tables, a
// declared array of a numeric kind; sets ARRAY's table, group and cells.
bool FindArray(std::string_view name, VariableTable *local, ArrayCells &a) {
  a.table = nullptr;
  int seen = 0;
  for (VariableTable *t : {local, &Globals()}) {
    if (!t) continue;
    for (int g = 0; g < kGroupCount; ++g) {
      size_t running = 0;
      for (const NameEntry &e : t->entries[g]) {
        if (e.name == name) {
          if (++seen > 1 || g > 2 || e.form != NameEntry::Form::Array) return false;
          a.table = t;
          a.group = g;
          a.base = running;
          a.bounds = &e.dims;
        }
        running += e.cells;
      }
    }
  }
  return seen == 1;
}

} // namespace

bool ResolveArrayAgain(std::string_view name, ArrayCells &a) {
  VariableTable *local = LocalTable();
  uint64_t changes = local ? local->changes : 0;
  if (a.generation == gVariableGeneration.load(std::memory_order_acquire) && a.local == local &&
      a.localChanges == changes) {
    if (CheckingCaches()) {
      ArrayCells fresh;
      bool found = FindArray(name, local, fresh);
      if (found != (a.table != nullptr) ||
          (found && (fresh.table != a.table || fresh.base != a.base || fresh.group != a.group)))
        CacheMismatch("array cells", 0, name, "a different array");
    }
    return a.table != nullptr;
  }
  uint64_t generation = gVariableGeneration.load(std::memory_order_acquire);
  if (!FindArray(name, local, a)) a.table = nullptr;
  a.generation = generation;
  a.local = local;
  a.localChanges = changes;
  return a.table != nullptr;
}

double ReadElement(const ArrayCells &a, const std::vector<int32_t> &subs) {
  size_t index;
  if (!LinearIndex(subs, *a.bounds, index)) return 0;
  return ReadCell(*a.table, a.group, a.base + index);
}

void WriteElement(const ArrayCells &a, const std::vector<int32_t> &subs, double value) {
  size_t index;
  if (!LinearIndex(subs, *a.bounds, index)) return;
  WriteCell(*a.table, a.group, a.base + index, value);
}
