#include "runtime/call_statement.h"

#include "data/assignment.h"
#include "expr/argument_list.h"
#include "expr/call_depth.h"
#include "expr/compiled_numeric.h"
#include "expr/number_text.h"
#include "expr/routines.h"
#include "runtime/arg_text.h"
#include "runtime/check_mode.h"
#include "runtime/engine.h"
#include "runtime/interpreter_lock.h"
#include "runtime/runtime_error.h"
#include "runtime/tokens.h"

namespace {

// Calls with more values than this take the text path.
constexpr size_t kMaxSites = 16;

// Reads the call whose token starts at I, as pre-evaluation reads it: the
// name up to 0x02, the header position in hexadecimal, the argument list
// from the next "(" to its ")". END receives the index behind the ")".
// False for a call whose argument list holds quotes or control bytes.
bool ReadSite(const std::string &text, size_t i, CallSite &site, size_t &end) {
  size_t mark = text.find('\x02', i + 2);
  if (mark == std::string::npos) return false;
  auto header = ReadHex(text.c_str() + mark + 1);
  size_t open = text.find('(', mark + 1);
  if (!header || open == std::string::npos) return false;
  int depth = 0;
  size_t close = open;
  for (; close < text.size(); ++close) {
    char c = text[close];
    if (c == '"' || c == static_cast<char>(tok::kControl)) return false;
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) break;
  }
  if (close == text.size()) return false;
  site.header = *header;
  site.name = text.substr(i + 2, mark - i - 2);
  site.args = CutList(std::string_view(text).substr(open + 1, close - open - 1));
  for (const std::string &arg : site.args) site.prepared.push_back(PrepareNumeric(arg));
  end = close + 1;
  return true;
}

// The statement's text with each call replaced by TEXTS[i].
template <typename Text> std::string Filled(const CallStatement &c, Text text) {
  std::string out = c.pieces[0];
  for (size_t i = 0; i < c.sites.size(); ++i) {
    out += text(i);
    out += c.pieces[i + 1];
  }
  return out;
}

} // namespace

std::unique_ptr<CallStatement> PrepareCallStatement(const std::string &statement) {
  if (statement.empty() || statement[0] == tok::kControl || statement[0] == '*') return nullptr;
  auto c = std::make_unique<CallStatement>();
  std::string piece;
  for (size_t i = 0; i < statement.size();) {
    char ch = statement[i];
    if (ch == '"') return nullptr;
    if (ch != static_cast<char>(tok::kControl)) {
      piece.push_back(ch);
      ++i;
      continue;
    }
    if (i + 1 >= statement.size()) return nullptr;
    uint8_t code = static_cast<uint8_t>(statement[i + 1]);
    bool value = code == tok::kCallValue;
    if (!value && code != tok::kCallSub) return nullptr;
    // An assignment's calls all want values; a SUB call stands alone.
    if (c->sites.empty()) c->wantValues = value;
    if (value != c->wantValues || (!value && !c->sites.empty())) return nullptr;
    CallSite site;
    size_t end;
    if (c->sites.size() == kMaxSites || !ReadSite(statement, i, site, end)) return nullptr;
    c->pieces.push_back(std::move(piece));
    piece.clear();
    c->sites.push_back(std::move(site));
    i = end;
  }
  c->pieces.push_back(std::move(piece));
  if (c->sites.empty()) return nullptr;
  if (!c->wantValues) {
    // What is left of the statement once the call has gone must be nothing.
    if (!c->pieces[0].empty() || !c->pieces[1].empty()) return nullptr;
    return c;
  }
  c->assign = PrepareAssignmentWithHoles(Filled(*c, [](size_t) { return kHoleMarker; }));
  if (!c->assign) return nullptr;
  return c;
}

bool SameCalls(const CallStatement &a, const CallStatement &b) {
  if (a.pieces != b.pieces || a.wantValues != b.wantValues || a.sites.size() != b.sites.size() ||
      (a.assign == nullptr) != (b.assign == nullptr))
    return false;
  for (size_t i = 0; i < a.sites.size(); ++i) {
    const CallSite &x = a.sites[i], &y = b.sites[i];
    if (x.header != y.header || x.name != y.name || x.args != y.args) return false;
  }
  return !a.assign || a.assign->expr.text == b.assign->expr.text;
}

void RunCallStatement(const CallStatement &c, std::string &statement, ThreadIndex slot,
                      LockRun &run) {
  Engine &e = E();
  // Pre-evaluation takes a nesting level for the statement and one for
  // each argument list; at the limit the statement is abandoned.
  DepthGuard nesting(DepthKind::Nesting);
  if (!nesting.Entered()) {
    run.Keep();
    RuntimeError();
    return;
  }
  // The values of the usual one or two calls stay inline.
  constexpr size_t kInline = 2;
  RoutineResult inlineResults[kInline];
  std::vector<RoutineResult> more;
  if (c.sites.size() > kInline) more.resize(c.sites.size());
  RoutineResult *results = c.sites.size() > kInline ? more.data() : inlineResults;
  for (size_t i = 0; i < c.sites.size(); ++i) {
    if (!NestingRoom()) {
      run.Keep();
      RuntimeError();
      return;
    }
    CallRoutine(c.sites[i], c.wantValues, slot, results[i], &run);
  }
  if (!c.wantValues || !e.running.load()) return;
  run.Keep();
  if (!e.running.load()) return;
  bool numbers = true;
  double values[kMaxSites];
  for (size_t i = 0; i < c.sites.size(); ++i) {
    numbers = numbers && results[i].numeric;
    values[i] = results[i].number;
  }
  auto text = [&](size_t i) {
    return results[i].numeric ? num::FormatG15(results[i].number) : results[i].text;
  };
  if (numbers && CompiledFormFits(*c.assign->expr.code)) {
    std::string filled;
    if (CheckingCaches()) {
      filled = StripBlanks(Filled(c, text));
      filled.erase(0, filled.find('=') + 1);
    }
    HoleValues holes{values, filled};
    if (RunAssignment(*c.assign, holes)) return;
  }
  statement = Filled(c, text);
  Assign(statement);
}
