// The statements that are not block structures: their argument texts in
// the forms the statement handlers read.
#include <cctype>

#include "builder/compiler.h"
#include "runtime/tokens.h"

namespace builder {
namespace {

std::string Lower(std::string s) {
  for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string BaseName(const std::string &path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void PutStatementToken(Code &out, uint16_t code) {
  out.PutToken(tok::High(code), tok::Low(code));
}

void PutWithArgs(Code &out, uint16_t code, const Code &args) {
  PutStatementToken(out, code);
  if (!args.Empty()) {
    out.Put(' ');
    out.Append(args);
  }
}

} // namespace

bool Compiler::SimpleStatement(Code &out, bool inLineIf) {
  ++nesting_;
  bool ok = nesting_ <= 200 ? SimpleStatementBody(out, inLineIf)
                            : Error(lex_->NextOffset(), "statements nested too deeply");
  --nesting_;
  return ok;
}

bool Compiler::SimpleStatementBody(Code &out, bool inLineIf) {
  Token t = lex_->Peek();
  if (t.kind == Tok::kError) return Error(t.offset, t.text);
  if (t.IsPunct('?')) {
    lex_->Next();
    Code args;
    if (!PrintStatement(args, Form::kPrint)) return false;
    PutWithArgs(out, tok::kPRINT, args);
    return true;
  }
  if (t.kind == Tok::kNumber)
    return Error(t.offset, "a line number can only stand at the start of a line");
  if (t.kind != Tok::kIdent) return Error(t.offset, "expected a statement");
  const std::string &u = t.upper;
  if (u == "REM") {
    lineDone_ = true;
    return true;
  }
  if (u == "IF") {
    lex_->Next();
    Code cond;
    if (!Expression(cond)) return false;
    const Token &n = lex_->Peek();
    if (n.IsWord("THEN")) {
      lex_->Next();
      if (lex_->AtEnd()) return Error(n.offset, "a block IF cannot stand in a single-line IF");
    } else if (!n.IsWord("GOTO")) {
      return Error(n.offset, "expected THEN after the condition");
    }
    return SingleLineIf(out, cond);
  }
  if (u == "EXIT") return ExitStatement(out);
  if (u == "CALL") {
    lex_->Next();
    Token n = lex_->Peek();
    auto it = n.kind == Tok::kIdent ? routines_.find(n.upper) : routines_.end();
    if (it == routines_.end()) return Error(n.offset, "expected the name of a SUB or FUNCTION");
    return CallStatement(out, it->second);
  }
  if (u == "DEF" || u == "DEFINT" || u == "DEFSNG" || u == "DEFSTR" || u == "DEFDBL") {
    lex_->Next();
    Code args;
    if (u == "DEF") {
      if (!DefFnStatement(args)) return false;
      PutWithArgs(out, tok::kDEFFN, args);
      return true;
    }
    if (!DefTypeStatement(args, Lower(u.substr(3)))) return false;
    PutWithArgs(out, tok::kDEF, args);
    return true;
  }
  static const char *const kStructure[] = {"FOR",  "NEXT",   "WHILE", "WEND", "DO",       "LOOP",
                                           "ELSE", "ELSEIF", "ENDIF", "SUB",  "FUNCTION", "TYPE"};
  for (const char *w : kStructure)
    if (u == w) {
      if (inLineIf) return Error(t.offset, u + " cannot stand in a single-line IF; use a block IF");
      return Error(t.offset, "unexpected " + u);
    }
  if (u == "END") {
    Token n = lex_->PeekSecond();
    if (inLineIf && (n.IsWord("IF") || n.IsWord("SUB") || n.IsWord("FUNCTION") || n.IsWord("TYPE")))
      return Error(t.offset, "END " + n.upper + " cannot stand in a single-line IF");
    lex_->Next();
    Code args;
    if (!AtStatementEnd() && !Expression(args)) return false;
    PutWithArgs(out, tok::kEND, args);
    return true;
  }
  if (const StatementInfo *info = FindStatement(u)) {
    if (info->form == Form::kIf || info->form == Form::kFor || info->form == Form::kNext ||
        info->form == Form::kWhile || info->form == Form::kWend || info->form == Form::kLoop)
      return Error(t.offset, u + " cannot stand in a single-line IF; use a block IF");
    lex_->Next();
    return KeywordStatement(out, *info, inLineIf);
  }
  if (IsReservedWord(u)) return Error(t.offset, "unexpected keyword " + u);
  return AssignmentOrCall(out);
}

bool Compiler::KeywordStatement(Code &out, const StatementInfo &info, bool) {
  Code args;
  bool ok = true;
  switch (info.form) {
  case Form::kNone:
    break;
  case Form::kList:
    ok = ListArguments(args);
    break;
  case Form::kOptional:
    if (!AtStatementEnd()) ok = Expression(args);
    break;
  case Form::kPrint:
  case Form::kLPrint:
  case Form::kWrite:
    ok = PrintStatement(args, info.form);
    break;
  case Form::kInput:
    ok = InputStatement(args);
    break;
  case Form::kLine:
    ok = LineStatement(args);
    break;
  case Form::kOpen:
    ok = OpenStatement(args);
    break;
  case Form::kClose:
    ok = CloseStatement(args);
    break;
  case Form::kField:
    ok = FieldStatement(args);
    break;
  case Form::kLset:
  case Form::kLet: {
    ok = VariableRef(args);
    if (ok) {
      const Token &eq = lex_->Peek();
      if (!eq.IsOp("=")) return Error(eq.offset, "expected '='");
      lex_->Next();
      args.Put('=');
      ok = Expression(args);
    }
    break;
  }
  case Form::kGet:
  case Form::kPut:
    ok = GetPutStatement(args, info.form == Form::kPut);
    break;
  case Form::kPoint:
    ok = CoordinatePair(args);
    if (ok && lex_->Peek().IsPunct(',')) {
      lex_->Next();
      args.Put(',');
      ok = ListArguments(args);
    }
    break;
  case Form::kKey:
    ok = Word(args, {"ON", "OFF", "STOP"}, "ON, OFF or STOP");
    break;
  case Form::kMouse:
    if (!Expect('(', "'(' and the mouse event number")) return false;
    args.Put('(');
    if (!Expression(args) || !Expect(')', "')'")) return false;
    args.Put(')');
    ok = Word(args, {"ON", "OFF", "STOP"}, "ON, OFF or STOP");
    break;
  case Form::kOn:
    ok = OnStatement(args);
    break;
  case Form::kLabel:
    ok = LabelOperand(args);
    break;
  case Form::kRun:
    if (AtStatementEnd())
      args.Put(Hex8(-1));
    else
      ok = LabelOperand(args);
    break;
  case Form::kChain:
    ok = ChainStatement(args);
    break;
  case Form::kDim:
    ok = DimStatement(args);
    break;
  case Form::kErase:
    for (;;) {
      if (!VariableRef(args, false)) return false;
      if (!lex_->Peek().IsPunct(',')) break;
      lex_->Next();
      args.Put(',');
    }
    break;
  case Form::kRefs:
    ok = RefList(args);
    break;
  case Form::kData:
    ok = DataStatement(args);
    break;
  case Form::kDefFn:
    ok = DefFnStatement(args);
    break;
  case Form::kMid:
    if (!Expect('(', "'(' after MID$")) return false;
    args.Put('(');
    if (!VariableRef(args)) return false;
    if (!Expect(',', "',' and the start position")) return false;
    args.Put(',');
    if (!Expression(args)) return false;
    if (lex_->Peek().IsPunct(',')) {
      lex_->Next();
      args.Put(',');
      if (!Expression(args)) return false;
    }
    if (!Expect(')', "')'")) return false;
    args.Put(')');
    if (!lex_->Peek().IsOp("=")) return Error(lex_->NextOffset(), "expected '='");
    lex_->Next();
    args.Put('=');
    ok = Expression(args);
    break;
  default:
    return Error(lex_->NextOffset(), "internal error: statement form");
  }
  if (!ok) return false;
  if (!AtStatementEnd()) {
    const Token &n = lex_->Peek();
    if (n.kind == Tok::kError) return Error(n.offset, n.text);
    return Error(n.offset, "unexpected text after the " + std::string(info.name) + " statement");
  }
  PutWithArgs(out, info.code, args);
  return true;
}

bool Compiler::AssignmentOrCall(Code &out) {
  Token t = lex_->Peek();
  auto it = routines_.find(t.upper);
  if (it != routines_.end() && !lex_->PeekSecond().IsOp("=")) return CallStatement(out, it->second);
  if (!VariableRef(out)) return false;
  const Token &eq = lex_->Peek();
  if (!eq.IsOp("=")) {
    if (eq.kind == Tok::kError) return Error(eq.offset, eq.text);
    return Error(eq.offset, t.text + " is no statement; expected '=' for an assignment");
  }
  lex_->Next();
  out.Put('=');
  return Expression(out);
}

bool Compiler::CallStatement(Code &out, const Routine &r) {
  lex_->Next(); // the name
  out.PutToken(tok::kControl, tok::kCallSub);
  out.Put(r.name);
  out.Put('\x02');
  out.PutTarget(r.target, Here(lex_->NextOffset()));
  if (lex_->Peek().IsPunct('(')) return CallArguments(out, false);
  out.Put('(');
  if (!AtStatementEnd()) {
    for (;;) {
      if (!Expression(out)) return false;
      if (!lex_->Peek().IsPunct(',')) break;
      lex_->Next();
      out.Put(',');
    }
  }
  out.Put(')');
  return true;
}

bool Compiler::SingleLineIf(Code &out, Code &cond) {
  PutStatementToken(out, tok::kIF);
  out.Put(' ');
  out.Append(cond);
  out.PutToken(tok::kControl, tok::kThen);
  bool atElse = false;
  if (!IfBranch(out, atElse)) return false;
  if (atElse) {
    lex_->Next();
    out.PutToken(tok::kControl, tok::kElse);
    bool again = false;
    if (!IfBranch(out, again)) return false;
  }
  return true;
}

bool Compiler::IfBranch(Code &out, bool &stoppedAtElse) {
  stoppedAtElse = false;
  const Token &first = lex_->Peek();
  if (first.kind == Tok::kNumber || first.IsOp("*")) {
    // IF ... THEN 100 / ELSE *label: a jump.
    PutStatementToken(out, tok::kGOTO);
    out.Put(' ');
    if (!LabelOperand(out)) return false;
  } else {
    bool firstStatement = true;
    for (;;) {
      const Token &t = lex_->Peek();
      if (t.kind == Tok::kEnd || t.IsWord("ELSE")) break;
      if (t.IsPunct(':')) {
        lex_->Next();
        continue;
      }
      Code s;
      if (!SimpleStatement(s, true)) return false;
      if (!s.Empty()) {
        if (!firstStatement) out.Put(':');
        out.Append(s);
        firstStatement = false;
      }
      if (lineDone_) return true;
      const Token &n = lex_->Peek();
      if (n.kind == Tok::kEnd || n.IsWord("ELSE")) break;
      if (!n.IsPunct(':')) {
        if (n.kind == Tok::kError) return Error(n.offset, n.text);
        return Error(n.offset, "expected ':', ELSE or the end of the line");
      }
    }
  }
  stoppedAtElse = lex_->Peek().IsWord("ELSE");
  return true;
}

bool Compiler::Word(Code &out, std::initializer_list<const char *> words, const char *what) {
  const Token &t = lex_->Peek();
  if (t.kind == Tok::kIdent)
    for (const char *w : words)
      if (t.upper == w) {
        out.Put(Lower(t.upper));
        lex_->Next();
        return true;
      }
  return Error(t.offset, std::string("expected ") + what);
}

bool Compiler::ListArguments(Code &out, bool allowWords) {
  for (;;) {
    const Token &t = lex_->Peek();
    if (t.IsPunct(',')) {
      lex_->Next();
      out.Put(',');
      continue;
    }
    if (AtStatementEnd()) return true;
    Token second = lex_->PeekSecond();
    bool wordEnds = second.kind == Tok::kEnd || second.IsPunct(':') || second.IsPunct(',') ||
                    second.IsWord("ELSE");
    if (allowWords && t.kind == Tok::kIdent && IsReservedWord(t.upper) && wordEnds &&
        !fn::FindFunctionByName(t.text)) {
      // A bare word such as a PUT mode (PSET, XOR...): plain text.
      out.Put(Lower(t.upper));
      lex_->Next();
    } else if (!Expression(out)) {
      return false;
    }
    const Token &n = lex_->Peek();
    if (AtStatementEnd()) return true;
    if (!n.IsPunct(',')) {
      if (n.kind == Tok::kError) return Error(n.offset, n.text);
      return Error(n.offset, "expected ',' between the arguments");
    }
  }
}

bool Compiler::PrintItems(Code &out) {
  bool needSeparator = false;
  for (;;) {
    if (AtStatementEnd()) return true;
    const Token &t = lex_->Peek();
    if (t.IsPunct(';') || t.IsPunct(',')) {
      out.Put(t.text);
      lex_->Next();
      needSeparator = false;
      continue;
    }
    if (needSeparator) {
      if (t.kind == Tok::kError) return Error(t.offset, t.text);
      return Error(t.offset, "expected ';' or ',' between the items");
    }
    if (!Expression(out)) return false;
    needSeparator = true;
  }
}

bool Compiler::ChannelDigit(Code &out) {
  const Token &t = lex_->Peek();
  if (t.kind != Tok::kNumber || t.text.size() != 1 || t.text[0] < '1' || t.text[0] > '9')
    return Error(t.offset, "a channel number must be a single digit from 1 to 9");
  out.Put(t.text);
  lex_->Next();
  return true;
}

bool Compiler::ChannelPrefix(Code &out, bool required) {
  if (!lex_->Peek().IsPunct('#')) {
    if (required) return Error(lex_->NextOffset(), "expected '#' and a channel number");
    return true;
  }
  lex_->Next();
  out.Put('#');
  if (!ChannelDigit(out)) return false;
  if (!Expect(',', "',' after the channel number")) return false;
  out.Put(',');
  return true;
}

bool Compiler::PrintStatement(Code &out, Form form) {
  if (form != Form::kLPrint && !ChannelPrefix(out, false)) return false;
  if (form != Form::kWrite && lex_->Peek().IsWord("USING")) {
    lex_->Next();
    out.Put("using ");
    if (!Expression(out)) return false;
    if (!Expect(';', "';' after the format")) return false;
    out.Put(';');
  }
  return PrintItems(out);
}

bool Compiler::RefList(Code &out) {
  for (;;) {
    if (!VariableRef(out)) return false;
    if (!lex_->Peek().IsPunct(',')) return true;
    lex_->Next();
    out.Put(',');
  }
}

bool Compiler::InputStatement(Code &out) {
  if (lex_->Peek().IsPunct('#')) {
    if (!ChannelPrefix(out, true)) return false;
    return RefList(out);
  }
  return InputPrompt(out) && RefList(out);
}

bool Compiler::InputPrompt(Code &out) {
  Token t = lex_->Peek();
  if (t.kind != Tok::kString) return true;
  lex_->Next();
  if (!StringLiteral(out, t)) return false;
  const Token &sep = lex_->Peek();
  if (!sep.IsPunct(';') && !sep.IsPunct(','))
    return Error(sep.offset, "expected ';' or ',' after the prompt");
  out.Put(sep.text);
  lex_->Next();
  return true;
}

bool Compiler::CoordinatePair(Code &out) {
  if (!Expect('(', "'(' and a coordinate pair")) return false;
  out.Put('(');
  if (!Expression(out)) return false;
  if (!Expect(',', "',' between the coordinates")) return false;
  out.Put(',');
  if (!Expression(out)) return false;
  if (!Expect(')', "')' after the coordinates")) return false;
  out.Put(')');
  return true;
}

bool Compiler::LineStatement(Code &out) {
  if (lex_->Peek().IsWord("INPUT")) {
    lex_->Next();
    out.Put("input ");
    if (lex_->Peek().IsPunct('#')) {
      if (!ChannelPrefix(out, true)) return false;
      return VariableRef(out);
    }
    return InputPrompt(out) && VariableRef(out);
  }
  if (lex_->Peek().IsPunct('(') && !CoordinatePair(out)) return false;
  if (!lex_->Peek().IsOp("-")) return Error(lex_->NextOffset(), "expected '-' and the end point");
  lex_->Next();
  out.Put('-');
  if (lex_->Peek().IsWord("STEP")) {
    lex_->Next();
    out.Put("step");
  }
  if (!CoordinatePair(out)) return false;
  if (lex_->Peek().IsPunct(',')) {
    lex_->Next();
    out.Put(',');
    return ListArguments(out);
  }
  return true;
}

bool Compiler::OpenStatement(Code &out) {
  if (!Expression(out)) return false;
  if (lex_->Peek().IsWord("FOR")) {
    lex_->Next();
    const Token &m = lex_->Peek();
    if (m.IsWord("INPUT") || m.IsWord("OUTPUT") || m.IsWord("APPEND")) {
      out.Put(" for ");
      out.Put(Lower(m.upper));
    } else if (!m.IsWord("RANDOM")) {
      return Error(m.offset, "expected INPUT, OUTPUT, APPEND or RANDOM after FOR");
    }
    lex_->Next();
  }
  if (!lex_->Peek().IsWord("AS")) return Error(lex_->NextOffset(), "expected AS and a channel");
  lex_->Next();
  out.PutToken(tok::kControl, tok::kAs);
  if (lex_->Peek().IsPunct('#')) lex_->Next();
  out.Put('#');
  return ChannelDigit(out);
}

bool Compiler::CloseStatement(Code &out) {
  if (AtStatementEnd()) return true;
  for (;;) {
    if (lex_->Peek().IsPunct('#')) lex_->Next();
    out.Put('#');
    if (!ChannelDigit(out)) return false;
    if (!lex_->Peek().IsPunct(',')) return true;
    lex_->Next();
    out.Put(',');
  }
}

bool Compiler::FieldStatement(Code &out) {
  if (lex_->Peek().IsPunct('#')) lex_->Next();
  out.Put('#');
  if (!ChannelDigit(out)) return false;
  if (!Expect(',', "',' after the channel number")) return false;
  out.Put(',');
  for (;;) {
    if (!Expression(out)) return false;
    if (!lex_->Peek().IsWord("AS")) return Error(lex_->NextOffset(), "expected AS");
    lex_->Next();
    out.PutToken(tok::kControl, tok::kAs);
    if (!VariableRef(out)) return false;
    if (!lex_->Peek().IsPunct(',')) return true;
    lex_->Next();
    out.Put(',');
  }
}

bool Compiler::GetPutStatement(Code &out, bool put) {
  if (lex_->Peek().IsPunct('#')) {
    lex_->Next();
    out.Put('#');
    if (!ChannelDigit(out)) return false;
    if (!Expect(',', "',' and the record number")) return false;
    out.Put(',');
    return Expression(out);
  }
  if (lex_->Peek().IsPunct('@')) lex_->Next();
  if (!CoordinatePair(out)) return false;
  if (!put) {
    if (!lex_->Peek().IsOp("-")) return Error(lex_->NextOffset(), "expected '-' and the end point");
    lex_->Next();
    out.Put('-');
    if (lex_->Peek().IsWord("STEP")) {
      lex_->Next();
      out.Put("step");
    }
    if (!CoordinatePair(out)) return false;
    if (!Expect(',', "',' and the image variable")) return false;
    out.Put(',');
    return VariableRef(out);
  }
  if (!Expect(',', "',' and the image")) return false;
  out.Put(',');
  if (!Expression(out)) return false;
  if (!Expect(',', "',' and the mode (PSET, OR, XOR or AND)")) return false;
  out.Put(',');
  const Token &m = lex_->Peek();
  if (m.kind != Tok::kIdent) return Error(m.offset, "expected the mode PSET, OR, XOR or AND");
  out.Put(Lower(m.upper));
  lex_->Next();
  return true;
}

bool Compiler::OnStatement(Code &out) {
  Token sel = lex_->Peek();
  Token second = lex_->PeekSecond();
  bool jumpWordNext = second.IsWord("GOTO") || second.IsWord("GOSUB");
  if (sel.IsWord("ERROR") && jumpWordNext) {
    lex_->Next();
    out.Put("error");
  } else if (sel.IsWord("KEY") && jumpWordNext) {
    lex_->Next();
    out.Put("key");
  } else if (sel.IsWord("MOUSE") && second.IsPunct('(')) {
    lex_->Next();
    lex_->Next();
    const Token &n = lex_->Peek();
    if (n.kind != Tok::kNumber || n.text.size() != 1 || n.text[0] < '1' || n.text[0] > '5')
      return Error(n.offset, "the mouse event of ON MOUSE must be a digit from 1 to 5");
    out.Put("mouse(");
    out.Put(n.text);
    lex_->Next();
    if (!Expect(')', "')'")) return false;
    out.Put(')');
  } else if (!Expression(out)) {
    return false;
  }
  const Token &kw = lex_->Peek();
  if (!kw.IsWord("GOTO") && !kw.IsWord("GOSUB")) return Error(kw.offset, "expected GOTO or GOSUB");
  out.Put(' ');
  out.Put(Lower(kw.upper));
  out.Put(' ');
  lex_->Next();
  bool keyList = sel.IsWord("KEY") && jumpWordNext;
  int count = 0;
  for (;;) {
    ++count;
    const Token &t = lex_->Peek();
    if (keyList && (t.IsPunct(',') || AtStatementEnd())) {
      // An empty place leaves that key's trap empty.
    } else if (!LabelOperand(out)) {
      return false;
    }
    if (!lex_->Peek().IsPunct(',')) break;
    if (!keyList && (sel.IsWord("ERROR") || sel.IsWord("MOUSE")))
      return Error(lex_->NextOffset(), "only one label can follow here");
    lex_->Next();
    out.Put(',');
  }
  if (keyList && count > 12) return Error(sel.offset, "ON KEY takes at most 12 labels (F1 to F12)");
  return true;
}

bool Compiler::ChainStatement(Code &out) {
  Token t = lex_->Peek();
  if (t.kind == Tok::kString) {
    lex_->Next();
    int found = -1;
    std::string want = Lower(BaseName(t.text));
    for (size_t i = 0; i < files_.size(); ++i)
      if (Lower(BaseName(files_[i].name)) == want) found = static_cast<int>(i);
    if (found < 0)
      return Error(t.offset, "CHAIN: no source file named \"" + t.text + "\" in this program");
    out.PutTarget(fileStarts_[found], Here(t.offset));
  } else if (t.IsOp("*") || t.kind == Tok::kNumber) {
    if (!LabelOperand(out)) return false;
  } else {
    return Error(t.offset, "expected the name of a source file in quotes or a label");
  }
  if (!lex_->Peek().IsPunct(',')) return true;
  lex_->Next();
  Code rest;
  rest.Put(',');
  if (!lex_->Peek().IsPunct(',') && !lex_->Peek().IsWord("ALL")) {
    if (!LabelOperand(rest)) return false;
  }
  if (lex_->Peek().IsPunct(',')) {
    lex_->Next();
    if (!lex_->Peek().IsWord("ALL")) return Error(lex_->NextOffset(), "expected ALL");
  }
  if (lex_->Peek().IsWord("ALL")) {
    lex_->Next();
    rest.Put(",all");
  }
  out.Append(rest);
  return true;
}

bool Compiler::DataStatement(Code &out) {
  for (;;) {
    size_t at = lex_->NextOffset();
    bool unterminated = false;
    std::string item = lex_->ReadRawItem(unterminated);
    if (unterminated) return Error(at, "unterminated string: the closing \" is missing");
    if (!item.empty()) {
      Lexer sub(item);
      Token a = sub.Next();
      std::string sign;
      if (a.IsOp("-") || a.IsOp("+")) {
        if (a.text == "-") sign = "-";
        a = sub.Next();
      }
      if (a.kind == Tok::kNumber && sub.AtEnd()) {
        out.Put(sign);
        out.Put(a.text);
      } else if (sign.empty() && a.kind == Tok::kString && sub.AtEnd()) {
        Token lit = a;
        lit.offset = at;
        if (!StringLiteral(out, lit)) return false;
      } else if (item.find('"') != std::string::npos) {
        return Error(at, "a DATA item is a number, a string in quotes or text without quotes");
      } else {
        // Text without quotes is a string.
        Token lit;
        lit.kind = Tok::kString;
        lit.text = item;
        lit.offset = at;
        if (!StringLiteral(out, lit)) return false;
      }
    }
    if (!lex_->Peek().IsPunct(',')) return true;
    lex_->Next();
    out.Put(',');
  }
}

} // namespace builder
