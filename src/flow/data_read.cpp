#include "flow/data_read.h"

#include "data/variables.h"
#include "expr/eval.h"
#include "expr/pre_evaluate.h"
#include "flow/jumps.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "runtime/tokens.h"

namespace {

bool IsDataToken(const Program &prog, ProgramPosition p) {
  return prog.At(p) == tok::High(tok::kDATA) && prog.At(p + 1) == tok::Low(tok::kDATA);
}

// Cuts the next item at the DATA position and moves the position on.
std::string NextItem() {
  Engine &e = E();
  const Program &prog = e.program;
  ProgramPosition &p = e.dataPosition;
  std::string item;
  bool inQuotes = false;
  int depth = 0;
  for (;;) {
    uint8_t c = prog.At(p);
    if (c == 0) return item; // stays on the end
    if (c == '\n' || (c == ':' && !inQuotes)) {
      NextData();
      return item;
    }
    if (c == '"') inQuotes = !inQuotes;
    if (!inQuotes) {
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if (c == ',' && depth == 0) {
        ++p;
        return item;
      }
      if (c == ' ' || c == '\t') {
        ++p;
        continue;
      }
    }
    item.push_back(static_cast<char>(c));
    ++p;
  }
}

} // namespace

void NextData() {
  Engine &e = E();
  const Program &prog = e.program;
  ProgramPosition &p = e.dataPosition;
  for (;;) {
    uint8_t c = prog.At(p);
    if (c == 0) return;
    bool lineStart = p == 0 || prog.At(p - 1) == '\n';
    if (lineStart && IsDataToken(prog, p)) {
      p += 3;
      return;
    }
    if (c == ':') {
      while (prog.At(p + 1) == ':') ++p;
      if (IsDataToken(prog, p + 1)) {
        p += 4;
        return;
      }
    }
    ++p;
  }
}

void READ(std::string &arg, ThreadIndex slot) {
  Engine &e = E();
  // Targets are split at commas at parenthesis depth 0; quotes do not count.
  size_t start = 0;
  int depth = 0;
  for (size_t i = 0; i <= arg.size(); ++i) {
    char c = i < arg.size() ? arg[i] : ',';
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c != ',' || depth != 0) continue;
    std::string target = arg.substr(start, i - start);
    start = i + 1;
    size_t a = target.find_first_not_of(" \t");
    size_t b = target.find_last_not_of(" \t");
    target = a == std::string::npos ? std::string() : target.substr(a, b - a + 1);
    if (e.program.At(e.dataPosition) == 0) {
      RuntimeError();
      return;
    }
    std::string item = NextItem();
    PreEvaluate(item, slot);
    if (KindOf(target) == kString)
      SetString(target, EvalString(item));
    else
      SetNumeric(target, EvalNumeric(item));
  }
}

void RESTORE(std::string &arg, ThreadIndex) {
  // Without a label the reading starts again at the first DATA statement.
  bool resolved;
  E().dataPosition =
      arg.find_first_not_of(" \t") == std::string::npos ? 0 : ParseTarget(arg, resolved);
  NextData();
}
