#include "data/variable_table.h"

#include <cmath>
#include <string>
#include <unordered_map>

#include "data/variable_cells.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "runtime/runtime_error.h"

std::atomic<uint64_t> gVariableGeneration{1};

VariableTable::VariableTable() = default;

VariableTable::~VariableTable() {
  BumpVariableGeneration();
}

size_t VariableTable::CellCount(int group) const {
  switch (group) {
  case 0:
    return doubles.size();
  case 1:
    return integers.size();
  case 2:
    return singles.size();
  case 3:
    return strings.size();
  default:
    return records.size();
  }
}

namespace {

// Layouts are made per BASIC thread, as its local scopes are, from ids
// unique in the process. Past the limit new layouts are not shared.
constexpr size_t kMaxSharedLayouts = 65536;
std::atomic<uint64_t> gNextLayout{1};

uint64_t FreshLayout() {
  return gNextLayout.fetch_add(1, std::memory_order_relaxed);
}

bool SameEntry(const NameEntry &a, const NameEntry &b) {
  return a.form == b.form && a.cells == b.cells && a.name == b.name && a.dims == b.dims;
}

// The layout that FROM becomes when ENTRY is appended to GROUP: the
// transitions are kept by the layout they start from.
uint64_t NextLayout(uint64_t from, int group, const NameEntry &entry) {
  struct Transition {
    int group;
    NameEntry entry;
    uint64_t to;
  };
  thread_local std::unordered_map<uint64_t, std::vector<Transition>> known;
  thread_local size_t count = 0;
  std::vector<Transition> &from_ = known[from];
  for (const Transition &t : from_)
    if (t.group == group && SameEntry(t.entry, entry)) return t.to;
  uint64_t id = FreshLayout();
  if (count < kMaxSharedLayouts) {
    from_.push_back(Transition{group, entry, id});
    ++count;
  }
  return id;
}

} // namespace

void VariableTable::Changed(uint64_t newLayout) {
  if (!scoped) {
    BumpVariableGeneration();
    return;
  }
  layout = newLayout;
  ++changes;
}

uint64_t VariableTable::LayoutAfter(int group, const NameEntry &entry) {
  // A table holds a few steps; the others still find the shared layout.
  constexpr size_t kMaxSteps = 64;
  size_t k = added_++;
  if (k < steps_.size()) {
    LayoutStep &step = steps_[k];
    if (step.from == layout && step.group == group && SameEntry(step.entry, entry)) return step.to;
  }
  uint64_t to = NextLayout(layout, group, entry);
  if (k < kMaxSteps) {
    if (k >= steps_.size()) steps_.resize(k + 1);
    steps_[k] = LayoutStep{layout, to, group, entry};
  }
  return to;
}

[[gnu::noinline]] void VariableTable::AddEntry(int group, NameEntry &&entry) {
  Changed(scoped ? LayoutAfter(group, entry) : 0);
  size_t count = entry.cells;
  entries[group].push_back(std::move(entry));
  AppendCells(group, count);
}

namespace {

// Whether STEP appended the scalar NAME to GROUP.
bool AppendedScalar(const LayoutStep &step, int group, std::string_view name) {
  const NameEntry &e = step.entry;
  return step.group == group && e.form == NameEntry::Form::Scalar && e.cells == 1 &&
         e.dims.empty() && SameName(e.name, name);
}

} // namespace

void VariableTable::AddScalar(int group, std::string_view name) {
  // The step this table took the last time, taken again without making
  // the entry first.
  const LayoutStep *step = scoped && added_ < steps_.size() ? &steps_[added_] : nullptr;
  if (!step || step->from != layout || !AppendedScalar(*step, group, name)) [[unlikely]] {
    AddEntry(group, NameEntry(name));
    return;
  }
  ++added_;
  Changed(step->to);
  entries[group].AppendScalar(name);
  AppendCells(group, 1);
}

namespace {

template <typename T> void Grow(std::vector<T> &cells, size_t count) {
  if (count == 1) {
    cells.emplace_back();
  } else {
    cells.resize(cells.size() + count);
  }
}

} // namespace

void VariableTable::AppendCells(int group, size_t count) {
  switch (group) {
  case 0:
    Grow(doubles, count);
    break;
  case 1:
    Grow(integers, count);
    break;
  case 2:
    Grow(singles, count);
    break;
  case 3:
    Grow(strings, count);
    break;
  default:
    for (size_t i = 0; i < count; ++i) records.push_back(std::make_unique<VariableTable>());
  }
}

template <typename T> static void EraseRange(std::vector<T> &v, size_t at, size_t count) {
  if (at >= v.size()) return;
  count = std::min(count, v.size() - at);
  v.erase(v.begin() + static_cast<long>(at), v.begin() + static_cast<long>(at + count));
}

void VariableTable::RemoveCells(int group, size_t at, size_t count) {
  Changed(scoped ? FreshLayout() : 0);
  switch (group) {
  case 0:
    EraseRange(doubles, at, count);
    break;
  case 1:
    EraseRange(integers, at, count);
    break;
  case 2:
    EraseRange(singles, at, count);
    break;
  case 3:
    EraseRange(strings, at, count);
    break;
  default:
    EraseRange(records, at, count);
  }
}

void VariableTable::Clear() {
  Changed(0);
  added_ = 0;
  for (auto &list : entries) list.clear();
  doubles.clear();
  integers.clear();
  singles.clear();
  strings.clear();
  records.clear();
}

bool ParseReference(std::string_view ref, Reference &out) {
  out.subscripts.clear();
  size_t open = ref.find('(');
  out.name.assign(ref.substr(0, open));
  out.subscripted = open != std::string_view::npos;
  if (!out.subscripted) return true;
  // The subscripts run to the matching ")" (or the end), split at commas
  // outside inner parentheses and quotes.
  int depth = 0;
  bool inQuotes = false;
  size_t start = open + 1;
  for (size_t i = start; i <= ref.size(); ++i) {
    char c = i < ref.size() ? ref[i] : ')';
    if (c == '"' && i < ref.size()) inQuotes = !inQuotes;
    if (inQuotes && i < ref.size()) continue;
    if (c == '(') {
      ++depth;
      continue;
    }
    bool last = c == ')' && depth-- == 0;
    if (!last && !(c == ',' && depth == 0)) continue;
    double v = EvalNumeric(ref.substr(start, i - start));
    int32_t n = num::TruncInt32(v);
    if (n < 0 || out.subscripts.size() >= kMaxDimensions) {
      RuntimeError();
      return false;
    }
    out.subscripts.push_back(n);
    start = i + 1;
    if (last) break;
  }
  return true;
}

uint64_t ElementCount(const std::vector<int32_t> &bounds) {
  uint64_t n = 1;
  for (int32_t b : bounds) {
    n *= static_cast<uint64_t>(b) + 1;
    if (n > kMaxArrayCells) return kMaxArrayCells + 1;
  }
  return n;
}

bool LinearIndex(const std::vector<int32_t> &subs, const std::vector<int32_t> &bounds,
                 size_t &index) {
  if (subs.size() != bounds.size()) {
    RuntimeError();
    return false;
  }
  size_t result = 0;
  size_t stride = 1;
  for (size_t i = subs.size(); i-- > 0;) {
    if (subs[i] > bounds[i]) {
      RuntimeError();
      return false;
    }
    result += static_cast<size_t>(subs[i]) * stride;
    stride *= static_cast<size_t>(bounds[i]) + 1;
  }
  index = result;
  return true;
}

long FindScalarCell(const EntryList &entries, std::string_view name) {
  size_t running = 0;
  for (const NameEntry &e : entries) {
    if (e.form == NameEntry::Form::Scalar && SameName(e.name, name))
      return static_cast<long>(running);
    running += e.cells;
  }
  return kNotFound;
}

long FindCell(const EntryList &entries, const Reference &ref) {
  if (!ref.subscripted) return FindScalarCell(entries, ref.name);
  size_t running = 0;
  for (const NameEntry &e : entries) {
    if (e.name == ref.name) {
      if (ref.subscripted && e.form == NameEntry::Form::Array) {
        size_t index;
        if (!LinearIndex(ref.subscripts, e.dims, index)) return kFindError;
        return static_cast<long>(running + index);
      }
      if (ref.subscripted && e.form == NameEntry::Form::Element && e.dims == ref.subscripts)
        return static_cast<long>(running);
    }
    running += e.cells;
  }
  return kNotFound;
}

bool HasName(const VariableTable &table, int group, std::string_view name) {
  for (const NameEntry &e : table.entries[group])
    if (e.name == name) return true;
  return false;
}

void CopyRecord(VariableTable &target, const VariableTable &source) {
  auto copy = [](auto &to, const auto &from) {
    for (size_t i = 0; i < to.size() && i < from.size(); ++i) to[i] = from[i];
  };
  copy(target.doubles, source.doubles);
  copy(target.integers, source.integers);
  copy(target.singles, source.singles);
  copy(target.strings, source.strings);
  for (size_t i = 0; i < target.records.size() && i < source.records.size(); ++i)
    CopyRecord(*target.records[i], *source.records[i]);
}

void EraseEntries(VariableTable &table, int group, std::string_view name) {
  auto &list = table.entries[group];
  size_t running = 0;
  for (size_t i = 0; i < list.size();) {
    if (list[i].name == name) {
      table.RemoveCells(group, running, list[i].cells);
      list.erase(i);
    } else {
      running += list[i].cells;
      ++i;
    }
  }
}
