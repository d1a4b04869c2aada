// Expressions: checked by a small recursive-descent parser and written in
// the engine's form: no blanks, operator keywords and function calls as
// tokens, string literals in the escaped string form.
#include <cctype>

#include "builder/compiler.h"
#include "runtime/tokens.h"

namespace builder {
namespace {

bool IsBinaryOperator(const Token &t, uint8_t &tokenCode) {
  tokenCode = 0;
  if (t.kind == Tok::kOp) return true;
  if (t.kind != Tok::kIdent) return false;
  if (t.upper == "MOD")
    tokenCode = tok::kMod;
  else if (t.upper == "AND")
    tokenCode = tok::kAnd;
  else if (t.upper == "OR")
    tokenCode = tok::kOr;
  else if (t.upper == "XOR")
    tokenCode = tok::kXor;
  return tokenCode != 0;
}

bool IsDecimalLiteral(const Token &t) {
  return t.kind == Tok::kNumber && !t.text.empty() && t.text[0] != '&';
}

std::string ToUpper(std::string s) {
  for (char &c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

} // namespace

bool Compiler::Expression(Code &out) {
  return BinaryChain(out, true);
}

bool Compiler::BinaryChain(Code &out, bool groupStart) {
  bool first = true;
  for (;;) {
    if (!Unary(out, groupStart && first)) return false;
    first = false;
    const Token &t = lex_->Peek();
    uint8_t code;
    if (!IsBinaryOperator(t, code)) return true;
    Token op = lex_->Next();
    if (code)
      out.PutToken(tok::kControl, code);
    else
      out.Put(op.text);
  }
}

namespace {
constexpr int kMaxNesting = 200;
} // namespace

// Keeps recursion bounded whatever the source holds.
struct NestingGuard {
  explicit NestingGuard(int &depth) : depth_(depth) { ++depth_; }
  ~NestingGuard() { --depth_; }
  int &depth_;
};

bool Compiler::Unary(Code &out, bool atStart) {
  NestingGuard guard(nesting_);
  if (nesting_ > kMaxNesting) return Error(lex_->NextOffset(), "expression nested too deeply");
  const Token &t = lex_->Peek();
  if (t.IsOp("+")) {
    // A plus sign in front of an operand changes nothing; it is left out.
    lex_->Next();
    return Unary(out, atStart);
  }
  if (t.IsOp("-")) {
    lex_->Next();
    if (IsDecimalLiteral(lex_->Peek())) {
      out.Put('-');
      out.Put(lex_->Next().text);
      return true;
    }
    // The engine negates a name or a group only at the start of an
    // expression; elsewhere the negation gets a group of its own.
    if (atStart) {
      out.Put('-');
      return Unary(out, false);
    }
    // The group costs a level as it will in the listing, which writes it
    // with its parentheses: a program that builds lists to one that does.
    out.Put("(-");
    NestingGuard group(nesting_);
    if (!Unary(out, false)) return false;
    out.Put(')');
    return true;
  }
  if (t.IsWord("NOT")) {
    lex_->Next();
    out.PutToken(tok::kControl, tok::kNot);
    return Unary(out, false);
  }
  return Primary(out);
}

bool Compiler::StringLiteral(Code &out, const Token &t) {
  const std::string &v = t.text;
  char marker = 0;
  if (!blocks_.empty()) {
    BlockKind k = blocks_.front().kind;
    marker = k == BlockKind::kSub        ? tok::kSubEnd
             : k == BlockKind::kFunction ? tok::kFuncEnd
             : k == BlockKind::kType     ? tok::kEndType
                                         : 0;
  }
  int depth = 0;
  bool balanced = true;
  out.Put('"');
  for (size_t i = 0; i < v.size(); ++i) {
    char c = v[i];
    if (c == '\x01') {
      char next = i + 1 < v.size() ? v[i + 1] : 0;
      if (next == tok::kThen || next == tok::kElse || (marker && next == marker))
        return Error(t.offset, "this string holds the byte 0x01 followed by a byte that the "
                               "engine would read as a control token here");
      out.Put("\x01\x01");
    } else if (c == '"') {
      out.Put("\x01z");
    } else if (c == '\0') {
      out.Put("\x01"
              "0");
    } else {
      if (c == '(') ++depth;
      if (c == ')' && --depth < 0) balanced = false;
      out.Put(c);
    }
  }
  out.Put('"');
  if (builtinArgDepth_ > 0 && (!balanced || depth != 0))
    return Error(t.offset, "a string with unbalanced parentheses cannot be an argument of a "
                           "built-in or DEF FN function (the engine counts its parentheses)");
  return true;
}

std::string Compiler::NameSpelling(const Token &t) const {
  if (!blocks_.empty() && blocks_.front().kind == BlockKind::kFunction &&
      ToUpper(blocks_.front().name) == t.upper)
    return blocks_.front().name;
  return t.text;
}

bool Compiler::IsFnCall(const Token &t, std::string &name) const {
  if (t.kind != Tok::kIdent || t.upper.size() <= 2 || t.upper.compare(0, 2, "FN") != 0)
    return false;
  auto it = fnNames_.find(t.upper.substr(2));
  if (it == fnNames_.end()) return false;
  name = it->second;
  return true;
}

bool Compiler::Primary(Code &out) {
  Token t = lex_->Peek();
  switch (t.kind) {
  case Tok::kNumber:
    lex_->Next();
    out.Put(t.text);
    return true;
  case Tok::kString:
    lex_->Next();
    return StringLiteral(out, t);
  case Tok::kError:
    return Error(t.offset, t.text);
  case Tok::kPunct:
    if (t.IsPunct('(')) {
      lex_->Next();
      out.Put('(');
      if (!BinaryChain(out, true)) return false;
      if (!Expect(')', "')'")) return false;
      out.Put(')');
      return true;
    }
    break;
  case Tok::kIdent: {
    std::string fnName;
    if (t.upper == "FN") {
      lex_->Next();
      Token n = lex_->Peek();
      auto it = n.kind == Tok::kIdent ? fnNames_.find(n.upper) : fnNames_.end();
      if (it == fnNames_.end()) return Error(n.offset, "expected the name of a DEF FN function");
      lex_->Next();
      return FnCall(out, it->second);
    }
    if (IsFnCall(t, fnName)) {
      lex_->Next();
      return FnCall(out, fnName);
    }
    if (const fn::FunctionInfo *f = fn::FindFunctionByName(t.text)) {
      lex_->Next();
      return FunctionCall(out, *f, t.offset);
    }
    auto r = routines_.find(t.upper);
    if (r != routines_.end()) {
      bool ownValue = !blocks_.empty() && blocks_.front().kind == BlockKind::kFunction &&
                      ToUpper(blocks_.front().name) == t.upper;
      if (!r->second.isFunction)
        return Error(t.offset, "SUB " + r->second.name + " gives no value; call it as a statement");
      if (!(ownValue && !lex_->PeekSecond().IsPunct('('))) {
        lex_->Next();
        return RoutineCall(out, r->second, tok::kCallValue);
      }
      return VariableRef(out);
    }
    if (IsReservedWord(t.upper)) {
      if (FindStatement(t.upper))
        return Error(t.offset, "statement keyword " + t.upper + " where an expression is needed");
      return Error(t.offset, "keyword " + t.upper + " where an expression is needed");
    }
    return VariableRef(out);
  }
  default:
    break;
  }
  if (t.kind == Tok::kEnd || t.IsPunct(':'))
    return Error(t.offset, "expected an expression before the end of the statement");
  return Error(t.offset, "expected an expression");
}

bool Compiler::VariableRef(Code &out, bool allowSubscripts) {
  Token t = lex_->Peek();
  if (t.kind == Tok::kError) return Error(t.offset, t.text);
  if (t.kind != Tok::kIdent || t.text[0] == '.') return Error(t.offset, "expected a variable name");
  if (IsReservedWord(t.upper))
    return Error(t.offset, "keyword " + t.upper + " cannot be used as a variable name");
  if (fn::FindFunctionByName(t.text))
    return Error(t.offset, t.text + " is a built-in function, not a variable");
  lex_->Next();
  out.Put(NameSpelling(t));
  size_t end = t.end;
  for (;;) {
    const Token &n = lex_->Peek();
    if (allowSubscripts && n.IsPunct('(') && n.offset == end) {
      lex_->Next();
      out.Put('(');
      for (;;) {
        if (!Expression(out)) return false;
        if (lex_->Peek().IsPunct(',')) {
          lex_->Next();
          out.Put(',');
          continue;
        }
        break;
      }
      const Token &close = lex_->Peek();
      if (!close.IsPunct(')')) return Error(close.offset, "expected ')' after the subscripts");
      end = lex_->Next().end;
      out.Put(')');
      continue;
    }
    if (n.kind == Tok::kIdent && n.text[0] == '.' && n.offset == end) {
      out.Put(n.text);
      end = lex_->Next().end;
      continue;
    }
    return true;
  }
}

bool Compiler::CallArguments(Code &out, bool builtinArgs) {
  // At "(": arguments separated by commas up to the matching ")".
  lex_->Next();
  out.Put('(');
  if (builtinArgs) ++builtinArgDepth_;
  bool ok = true;
  if (!lex_->Peek().IsPunct(')')) {
    for (;;) {
      if (!Expression(out)) {
        ok = false;
        break;
      }
      if (!lex_->Peek().IsPunct(',')) break;
      lex_->Next();
      out.Put(',');
    }
  }
  if (builtinArgs) --builtinArgDepth_;
  if (!ok) return false;
  if (!Expect(')', "')' after the arguments")) return false;
  out.Put(')');
  return true;
}

bool Compiler::FunctionCall(Code &out, const fn::FunctionInfo &f, size_t where) {
  out.PutToken(tok::kControl, tok::kFunction);
  out.Put(static_cast<char>(f.code >> 8));
  out.Put(static_cast<char>(f.code & 0xFF));
  if (!lex_->Peek().IsPunct('(')) {
    if (f.minArgs > 0)
      return Error(where, std::string(f.name) + " needs its arguments in parentheses");
    return true;
  }
  if (lex_->PeekSecond().IsPunct(')')) {
    // Empty parentheses: written as the call without arguments.
    lex_->Next();
    lex_->Next();
    if (f.minArgs > 0) return Error(where, std::string(f.name) + " needs arguments");
    return true;
  }
  if (f.maxArgs == 0) return Error(where, std::string(f.name) + " takes no arguments");
  bool channel = f.code == 0x411 || f.code == 0x412 || f.code == 0x413;
  lex_->Next();
  out.Put('(');
  ++builtinArgDepth_;
  int count = 0;
  bool ok = true;
  for (;;) {
    if (channel && count == 0 && lex_->Peek().IsPunct('#')) lex_->Next();
    if (!Expression(out)) {
      ok = false;
      break;
    }
    ++count;
    if (!lex_->Peek().IsPunct(',')) break;
    lex_->Next();
    out.Put(',');
  }
  --builtinArgDepth_;
  if (!ok) return false;
  if (!Expect(')', "')' after the arguments")) return false;
  out.Put(')');
  if (count < f.minArgs || count > f.maxArgs) {
    std::string n = f.minArgs == f.maxArgs
                        ? std::to_string(f.minArgs)
                        : std::to_string(f.minArgs) + " to " + std::to_string(f.maxArgs);
    return Error(where, std::string(f.name) + " takes " + n + " argument" +
                            (f.maxArgs == 1 ? "" : "s") + ", not " + std::to_string(count));
  }
  return true;
}

bool Compiler::FnCall(Code &out, const std::string &name) {
  out.PutToken(tok::kControl, tok::kFunction);
  out.Put(static_cast<char>(fn::kUserFnCode >> 8));
  out.Put(static_cast<char>(fn::kUserFnCode & 0xFF));
  out.Put(name);
  if (!lex_->Peek().IsPunct('(')) {
    out.Put("()");
    return true;
  }
  return CallArguments(out, true);
}

bool Compiler::RoutineCall(Code &out, const Routine &r, uint8_t code) {
  out.PutToken(tok::kControl, code);
  out.Put(r.name);
  out.Put('\x02');
  out.PutTarget(r.target, Here(lex_->NextOffset()));
  if (!lex_->Peek().IsPunct('(')) {
    out.Put("()");
    return true;
  }
  return CallArguments(out, false);
}

} // namespace builder
