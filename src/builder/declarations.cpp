// Names that must be known before the statements are compiled (routines,
// record types, DEF FN functions), and the declaring statements: SUB and
// FUNCTION headers, TYPE bodies, DIM, DEF FN and DEFINT and its kin.
#include <cctype>

#include "builder/compiler.h"
#include "runtime/tokens.h"

namespace builder {
namespace {

std::string Upper(std::string s) {
  for (char &c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

} // namespace

void Compiler::CollectSymbols() {
  for (size_t f = 0; f < files_.size(); ++f) {
    for (const std::string &line : files_[f].lines) {
      Lexer lex(line);
      if (lex.Peek().kind == Tok::kNumber) lex.Next();
      bool first = true;
      while (!lex.AtEnd()) {
        Token t = lex.Next();
        if (t.kind == Tok::kError) break;
        if (t.kind != Tok::kIdent) {
          first = t.IsPunct(':');
          continue;
        }
        Token n = lex.Peek();
        if (first && (t.upper == "SUB" || t.upper == "FUNCTION") && n.kind == Tok::kIdent) {
          Routine &r = routines_[n.upper];
          if (r.target < 0) {
            r.name = n.text;
            r.isFunction = t.upper == "FUNCTION";
            r.target = writer_.NewTarget();
            targetErrors_[r.target] = "routine " + n.text + " has no definition";
          }
        } else if (first && t.upper == "TYPE" && n.kind == Tok::kIdent) {
          TypeDef &d = types_[n.upper];
          if (d.target < 0) {
            d.name = n.text;
            d.target = writer_.NewTarget();
            targetErrors_[d.target] = "type " + n.text + " has no definition";
          }
        } else if (t.upper == "DEF" && n.kind == Tok::kIdent) {
          std::string name;
          if (n.upper == "FN") {
            lex.Next();
            Token m = lex.Peek();
            if (m.kind == Tok::kIdent) name = m.text;
          } else if (n.upper.size() > 2 && n.upper.compare(0, 2, "FN") == 0) {
            name = n.text.substr(2);
          }
          // A name begins with a letter: FN0x is no function (its listing
          // "FN 0x" would not read back).
          bool named = !name.empty() &&
                       (std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_');
          if (named && !fnNames_.count(Upper(name))) fnNames_[Upper(name)] = name;
        }
        first = false;
      }
    }
  }
}

bool Compiler::TypeName(Code &out) {
  Token t = lex_->Peek();
  if (t.kind != Tok::kIdent) return Error(t.offset, "expected a type name after AS");
  lex_->Next();
  out.PutToken(tok::kControl, tok::kAs);
  if (t.upper == "INTEGER" || t.upper == "LONG")
    out.Put("Integer");
  else if (t.upper == "SINGLE")
    out.Put("Single");
  else if (t.upper == "DOUBLE")
    out.Put("Double");
  else if (t.upper == "STRING")
    out.Put("String");
  else {
    auto it = types_.find(t.upper);
    if (it == types_.end()) return Error(t.offset, "unknown type " + t.text);
    out.PutTarget(it->second.target, Here(t.offset));
  }
  if (lex_->Peek().IsOp("*"))
    return Error(lex_->NextOffset(), "strings of fixed length are not supported");
  return true;
}

bool Compiler::Declaration(Code &out, bool allowBounds) {
  Token t = lex_->Peek();
  if (!VariableRef(out, false)) return false;
  const Token &p = lex_->Peek();
  if (p.IsPunct('(') && p.offset == t.end) {
    if (!allowBounds) return Error(p.offset, "a parameter cannot have bounds");
    lex_->Next();
    out.Put('(');
    for (;;) {
      if (!Expression(out)) return false;
      if (!lex_->Peek().IsPunct(',')) break;
      lex_->Next();
      out.Put(',');
    }
    if (!Expect(')', "')' after the bounds")) return false;
    out.Put(')');
  }
  if (lex_->Peek().IsWord("AS")) {
    lex_->Next();
    return TypeName(out);
  }
  return true;
}

bool Compiler::DimStatement(Code &out) {
  int count = 0;
  for (;;) {
    if (!Declaration(out, true)) return false;
    if (++count > 50) return Error(lex_->NextOffset(), "a DIM statement declares at most 50 names");
    if (!lex_->Peek().IsPunct(',')) return true;
    lex_->Next();
    out.Put(',');
  }
}

bool Compiler::RoutineHeader(bool isFunction) {
  Token kw = lex_->Next();
  const char *what = isFunction ? "FUNCTION" : "SUB";
  if (!blocks_.empty())
    return Error(kw.offset, std::string(what) + " cannot be defined inside " +
                                BlockName(blocks_.back().kind) + " (line " +
                                std::to_string(blocks_.back().where.line + 1) + ")");
  if (writer_.LineOpen()) return Error(kw.offset, std::string(what) + " must begin its line");
  Token name = lex_->Peek();
  if (name.kind != Tok::kIdent || name.text[0] == '.' || IsReservedWord(name.upper) ||
      fn::FindFunctionByName(name.text))
    return Error(name.offset, std::string("expected the name of the ") + what);
  lex_->Next();
  Routine &r = routines_[name.upper];
  if (r.defined)
    return Error(name.offset, std::string(what) + " " + name.text + " is defined twice");
  if (r.isFunction != isFunction) return Error(name.offset, "internal error: routine kind");
  Block b{isFunction ? BlockKind::kFunction : BlockKind::kSub, Here(kw.offset)};
  b.name = r.name;
  // The block is open from here on, so that the parameters and the body
  // see the routine's own name.
  blocks_.push_back(b);
  Code params;
  if (lex_->Peek().IsPunct('(')) {
    lex_->Next();
    if (!lex_->Peek().IsPunct(')')) {
      for (;;) {
        if (!Declaration(params, false)) return false;
        if (!lex_->Peek().IsPunct(',')) break;
        lex_->Next();
        params.Put(',');
      }
    }
    if (!Expect(')', "')' after the parameters")) return false;
  }
  Code type;
  if (lex_->Peek().IsWord("AS")) {
    if (!isFunction) return Error(lex_->NextOffset(), "a SUB has no value type");
    lex_->Next();
    if (!TypeName(type)) return false;
  }
  if (!lex_->AtEnd())
    return Error(lex_->NextOffset(), std::string("the ") + what + " header must end its line");
  Code out;
  out.PutToken(tok::kControl, isFunction ? tok::kFuncRoutine : tok::kSubRoutine);
  out.Put(r.name);
  out.Put('(');
  out.Append(params);
  out.Put(')');
  out.Append(type);
  int64_t start = writer_.BeginStatement();
  writer_.Bind(r.target, start + 2 + static_cast<int64_t>(r.name.size()));
  writer_.Write(out);
  r.defined = true;
  r.where = Here(name.offset);
  return true;
}

bool Compiler::TypeHeader() {
  Token kw = lex_->Next();
  if (!blocks_.empty())
    return Error(kw.offset, "TYPE cannot be defined inside " + BlockName(blocks_.back().kind));
  if (writer_.LineOpen()) return Error(kw.offset, "TYPE must begin its line");
  Token name = lex_->Peek();
  if (name.kind != Tok::kIdent || IsReservedWord(name.upper))
    return Error(name.offset, "expected the name of the TYPE");
  lex_->Next();
  if (!lex_->AtEnd() && !lex_->Peek().IsPunct(':'))
    return Error(lex_->NextOffset(), "expected the end of the line after the TYPE name");
  TypeDef &d = types_[name.upper];
  if (d.defined) return Error(name.offset, "TYPE " + name.text + " is defined twice");
  // A record type at position 0 would be refused by DIM: keep it off there.
  if (writer_.Size() == 0) writer_.WriteEmptyLine();
  Code out;
  out.PutToken(tok::kControl, tok::kType);
  out.Put(d.name);
  int64_t start = writer_.BeginStatement();
  writer_.Bind(d.target, start);
  writer_.Write(out);
  d.defined = true;
  blocks_.push_back({BlockKind::kType, Here(kw.offset)});
  return true;
}

bool Compiler::TypeMemberLine() {
  while (!lex_->AtEnd()) {
    const Token &t = lex_->Peek();
    if (t.IsPunct(':')) {
      lex_->Next();
      continue;
    }
    if (t.kind == Tok::kError) return Error(t.offset, t.text);
    if (t.IsWord("REM")) {
      lineDone_ = true; // a remark ends the line and writes nothing
      return true;
    }
    if (t.IsWord("END") && lex_->PeekSecond().IsWord("TYPE")) {
      lex_->Next();
      lex_->Next();
      Code out;
      out.PutToken(tok::kControl, tok::kEndType);
      WriteStatement(out);
      blocks_.pop_back();
      return true;
    }
    Code member;
    if (!Declaration(member, true)) return false;
    // Each member is a line of its own: the engine declares line by line.
    writer_.EndLine();
    WriteStatement(member);
    writer_.EndLine();
    if (!lex_->AtEnd() && !lex_->Peek().IsPunct(':'))
      return Error(lex_->NextOffset(), "expected ':' or the end of the line");
  }
  return true;
}

bool Compiler::DefFnStatement(Code &out) {
  // At the name: FN name or FNname.
  Token t = lex_->Next();
  std::string name;
  if (t.upper == "FN") {
    Token n = lex_->Peek();
    auto it = n.kind == Tok::kIdent ? fnNames_.find(n.upper) : fnNames_.end();
    if (it == fnNames_.end()) return Error(n.offset, "expected the function's name after DEF FN");
    lex_->Next();
    name = it->second;
  } else if (!IsFnCall(t, name)) {
    return Error(t.offset, "expected FN and the function's name after DEF");
  }
  out.Put(name);
  out.Put('(');
  if (lex_->Peek().IsPunct('(')) {
    lex_->Next();
    if (!lex_->Peek().IsPunct(')')) {
      for (;;) {
        if (!VariableRef(out, false)) return false;
        if (!lex_->Peek().IsPunct(',')) break;
        lex_->Next();
        out.Put(',');
      }
    }
    if (!Expect(')', "')' after the parameters")) return false;
  }
  out.Put(')');
  const Token &eq = lex_->Peek();
  if (!eq.IsOp("=")) return Error(eq.offset, "expected '=' and the function's expression");
  lex_->Next();
  out.Put('=');
  return Expression(out);
}

bool Compiler::DefTypeStatement(Code &out, const std::string &word) {
  for (;;) {
    Token a = lex_->Peek();
    if (a.kind != Tok::kIdent || a.text.size() != 1 ||
        !std::isalpha(static_cast<unsigned char>(a.text[0])))
      return Error(a.offset, "expected a letter");
    lex_->Next();
    out.Put(a.upper);
    if (lex_->Peek().IsOp("-")) {
      lex_->Next();
      Token b = lex_->Peek();
      if (b.kind != Tok::kIdent || b.text.size() != 1 ||
          !std::isalpha(static_cast<unsigned char>(b.text[0])))
        return Error(b.offset, "expected a letter after '-'");
      lex_->Next();
      if (b.upper < a.upper)
        return Error(a.offset, "the range " + a.upper + "-" + b.upper + " runs backwards");
      out.Put('-');
      out.Put(b.upper);
    }
    if (!lex_->Peek().IsPunct(',')) break;
    lex_->Next();
    out.Put(',');
  }
  out.Put(word);
  return true;
}

} // namespace builder
