// The compiler's driver: files and lines, labels and line numbers, and the
// block structures (IF, FOR, WHILE, DO, SUB, FUNCTION, TYPE) whose
// statements carry positions of each other.
#include "builder/compiler.h"

#include <algorithm>
#include <cctype>

#include "runtime/tokens.h"

namespace builder {
namespace {

constexpr size_t kMaxErrors = 100;

bool AllDigits(const std::string &s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string Upper(std::string s) {
  for (char &c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

} // namespace

Compiler::Compiler(std::vector<SourceFile> files) : files_(std::move(files)) {}

BuildResult Compiler::Run() {
  for (size_t i = 0; i < files_.size(); ++i) fileStarts_.push_back(writer_.NewTarget());
  CollectSymbols();
  for (size_t i = 0; i < files_.size(); ++i) CompileFile(static_cast<int>(i));
  std::vector<ProgramWriter::Unresolved> unresolved;
  BuildResult result;
  std::string text = writer_.Finish(unresolved);
  bool hadErrors = !errors_.empty();
  for (const auto &u : unresolved) {
    auto it = targetErrors_.find(u.target);
    if (it != targetErrors_.end())
      ErrorAt(u.where, it->second);
    else if (!hadErrors)
      ErrorAt(u.where, "internal error: a position was never fixed");
  }
  result.errors = std::move(errors_);
  if (result.errors.empty()) {
    result.program = std::move(text);
    result.sourceMap = MakeSourceMap();
  }
  return result;
}

// ---- source positions

srcmap::SourceMap Compiler::MakeSourceMap() const {
  srcmap::SourceMap map;
  for (const SourceFile &f : files_) map.files.push_back(f.name);
  for (const ProgramWriter::Origin &o : writer_.Origins()) {
    const std::string &line = LineText(o.where);
    size_t start = std::min(o.where.offset, line.size());
    size_t end = std::clamp(o.end, start, line.size());
    while (end > start && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
    srcmap::Entry e;
    e.position = static_cast<uint32_t>(o.position);
    e.file = static_cast<uint32_t>(o.where.file);
    e.line = static_cast<uint32_t>(o.where.line + 1);
    e.column = static_cast<uint32_t>(CharacterColumn(line, start));
    e.text = line.substr(start, end - start);
    // Statements written out of source order (a block's closing parts) keep
    // the map ascending: a later record at the same place replaces.
    if (!map.entries.empty() && map.entries.back().position >= e.position) {
      if (map.entries.back().position == e.position) map.entries.back() = std::move(e);
      continue;
    }
    map.entries.push_back(std::move(e));
  }
  return map;
}

// ---- errors

SourceRef Compiler::Here(size_t offset) const {
  return {file_, line_, offset};
}

const std::string &Compiler::LineText(const SourceRef &where) const {
  static const std::string empty;
  if (where.file < 0 || where.file >= static_cast<int>(files_.size())) return empty;
  const auto &lines = files_[where.file].lines;
  if (where.line < 0 || where.line >= static_cast<int>(lines.size())) return empty;
  return lines[where.line];
}

bool Compiler::ErrorAt(const SourceRef &where, const std::string &message) {
  if (errors_.size() >= kMaxErrors) return false;
  Diagnostic d;
  d.file = where.file >= 0 && where.file < static_cast<int>(files_.size()) ? files_[where.file].name
                                                                           : std::string("?");
  d.line = where.line + 1;
  d.lineText = LineText(where);
  d.byteOffset = std::min(where.offset, d.lineText.size());
  d.column = CharacterColumn(d.lineText, d.byteOffset);
  d.message = message;
  errors_.push_back(std::move(d));
  return false;
}

bool Compiler::Error(size_t offset, const std::string &message) {
  return ErrorAt(Here(offset), message);
}

bool Compiler::Expect(char punct, const char *what) {
  const Token &t = lex_->Peek();
  if (t.IsPunct(punct)) {
    lex_->Next();
    return true;
  }
  if (t.kind == Tok::kError) return Error(t.offset, t.text);
  return Error(t.offset, std::string("expected ") + what);
}

bool Compiler::AtStatementEnd() {
  const Token &t = lex_->Peek();
  return t.kind == Tok::kEnd || t.IsPunct(':') || t.IsWord("ELSE");
}

// ---- files and lines

void Compiler::CompileFile(int file) {
  file_ = file;
  writer_.BindAtNextStatement(fileStarts_[file]);
  const auto &lines = files_[file].lines;
  for (line_ = 0; line_ < static_cast<int>(lines.size()); ++line_) CompileLine(lines[line_]);
  CloseOpenBlocks();
}

void Compiler::CompileLine(const std::string &text) {
  Lexer lex(text);
  lex_ = &lex;
  lineDone_ = false;
  // The program text takes a 0 byte as its end: none can be carried over.
  if (size_t nul = text.find('\0'); nul != std::string::npos) {
    Error(nul, "a 0 byte cannot stand in a program");
    return;
  }
  const Token &first = lex.Peek();
  if (first.kind == Tok::kNumber && AllDigits(first.text)) {
    Token n = lex.Next();
    DefineLabel(n.text, n.offset);
  }
  bool ok = true;
  if (!blocks_.empty() && blocks_.back().kind == BlockKind::kType) ok = TypeMemberLine();
  if (ok) {
    while (!lineDone_) {
      const Token &t = lex.Peek();
      if (t.kind == Tok::kEnd) break;
      if (t.IsPunct(':')) {
        lex.Next();
        continue;
      }
      if (!blocks_.empty() && blocks_.back().kind == BlockKind::kType) {
        // The members of a TYPE begun on this line.
        if (!TypeMemberLine()) break;
        continue;
      }
      writer_.SetOrigin(Here(t.offset));
      bool compiled = TopStatement();
      writer_.SetOriginEnd(lex.Peek().offset);
      if (!compiled || lineDone_) break;
      const Token &n = lex.Peek();
      if (n.kind == Tok::kEnd) break;
      if (n.IsPunct(':')) {
        lex.Next();
        continue;
      }
      if (n.kind == Tok::kError)
        Error(n.offset, n.text);
      else
        Error(n.offset, "expected ':' or the end of the line");
      break;
    }
  }
  writer_.EndLine();
  lex_ = nullptr;
}

void Compiler::WriteStatement(const Code &code) {
  writer_.BeginStatement();
  writer_.Write(code);
}

// ---- labels

void Compiler::DefineLabel(const std::string &name, size_t offset) {
  Label &l = labels_[Upper(name)];
  if (l.defined) {
    ErrorAt(Here(offset), "label " + name + " is defined twice (first in " +
                              files_[l.where.file].name + " line " +
                              std::to_string(l.where.line + 1) + ")");
    return;
  }
  if (l.target < 0) l.target = writer_.NewTarget();
  l.defined = true;
  l.where = Here(offset);
  writer_.BindAtNextStatement(l.target);
}

int Compiler::LabelTarget(const std::string &name, size_t) {
  Label &l = labels_[Upper(name)];
  if (l.target < 0) {
    l.target = writer_.NewTarget();
    targetErrors_[l.target] =
        AllDigits(name) ? "unknown line number " + name : "unknown label *" + name;
  }
  return l.target;
}

bool Compiler::LabelOperand(Code &out) {
  Token t = lex_->Peek();
  std::string name;
  if (t.IsOp("*")) {
    lex_->Next();
    name = lex_->ReadLabelName();
    if (name.empty()) return Error(t.end, "expected a label name after '*'");
  } else if (t.kind == Tok::kNumber && AllDigits(t.text)) {
    lex_->Next();
    name = t.text;
  } else {
    if (t.kind == Tok::kError) return Error(t.offset, t.text);
    return Error(t.offset, "expected a label (*name) or a line number");
  }
  out.PutTarget(LabelTarget(name, t.offset), Here(t.offset));
  return true;
}

// ---- blocks

std::string Compiler::BlockName(BlockKind kind) const {
  switch (kind) {
  case BlockKind::kIf:
    return "IF";
  case BlockKind::kFor:
    return "FOR";
  case BlockKind::kWhile:
    return "WHILE";
  case BlockKind::kDo:
    return "DO";
  case BlockKind::kSub:
    return "SUB";
  case BlockKind::kFunction:
    return "FUNCTION";
  case BlockKind::kType:
    return "TYPE";
  }
  return "?";
}

Compiler::Block *Compiler::FindBlock(BlockKind kind) {
  for (size_t i = blocks_.size(); i-- > 0;) {
    if (blocks_[i].kind == kind) return &blocks_[i];
    if (blocks_[i].kind == BlockKind::kSub || blocks_[i].kind == BlockKind::kFunction) break;
  }
  return nullptr;
}

bool Compiler::InRoutine(BlockKind kind) const {
  return !blocks_.empty() && blocks_.front().kind == kind;
}

void Compiler::CloseOpenBlocks() {
  static const char *const kCloser[] = {"END IF",  "NEXT",         "WEND",    "LOOP",
                                        "END SUB", "END FUNCTION", "END TYPE"};
  for (size_t i = blocks_.size(); i-- > 0;) {
    Block &b = blocks_[i];
    ErrorAt(b.where, BlockName(b.kind) + " is never closed (" + kCloser[static_cast<int>(b.kind)] +
                         " is missing)");
    for (int t : {b.exitTarget, b.startTarget, b.branchTarget, b.endTarget})
      if (t >= 0 && !writer_.IsBound(t)) writer_.Bind(t, -1);
  }
  blocks_.clear();
}

// Checks that the innermost open block is of KIND before a statement that
// closes or continues it.
static std::string Mismatch(const std::string &found, const std::string &open, int line) {
  return found + " does not fit here: the " + open + " opened in line " + std::to_string(line) +
         " must be closed first";
}

bool Compiler::TopStatement() {
  Token t = lex_->Peek();
  if (t.kind == Tok::kError) return Error(t.offset, t.text);
  if (t.IsOp("*")) {
    lex_->Next();
    std::string name = lex_->ReadLabelName();
    if (name.empty()) return Error(t.end, "expected a label name after '*'");
    DefineLabel(name, t.offset);
    return true;
  }
  if (t.kind == Tok::kIdent) {
    const std::string &u = t.upper;
    if (u == "IF") {
      lex_->Next();
      Code cond;
      if (!Expression(cond)) return false;
      const Token &n = lex_->Peek();
      if (n.IsWord("THEN")) {
        lex_->Next();
        if (lex_->AtEnd()) return BlockIf(cond, t.offset);
      } else if (!n.IsWord("GOTO")) {
        if (n.kind == Tok::kError) return Error(n.offset, n.text);
        return Error(n.offset, "expected THEN after the condition");
      }
      Code out;
      if (!SingleLineIf(out, cond)) return false;
      WriteStatement(out);
      return true;
    }
    if (u == "ELSEIF") return ElseIfStatement();
    if (u == "ELSE") return ElseStatement();
    if (u == "END" || u == "ENDIF") return EndStatement();
    if (u == "FOR") return ForStatement();
    if (u == "NEXT") return NextStatement();
    if (u == "WHILE") return WhileStatement();
    if (u == "WEND") return WendStatement();
    if (u == "DO") return DoStatement();
    if (u == "LOOP") return LoopStatement();
    if (u == "SUB") return RoutineHeader(false);
    if (u == "FUNCTION") return RoutineHeader(true);
    if (u == "TYPE") return TypeHeader();
  }
  Code out;
  if (!SimpleStatement(out, false)) return false;
  if (!out.Empty()) WriteStatement(out);
  return true;
}

bool Compiler::BlockIf(Code &cond, size_t offset) {
  Block b{BlockKind::kIf, Here(offset)};
  b.branchTarget = writer_.NewTarget();
  b.endTarget = writer_.NewTarget();
  Code out;
  out.PutToken(tok::High(tok::kIF), tok::Low(tok::kIF));
  out.Put(' ');
  out.Append(cond);
  out.PutToken(tok::kControl, tok::kThen);
  out.PutToken(tok::kControl, tok::kBlock);
  out.PutTarget(b.branchTarget, b.where);
  out.Put(' ');
  out.PutTarget(b.endTarget, b.where);
  WriteStatement(out);
  blocks_.push_back(b);
  return true;
}

bool Compiler::ElseIfStatement() {
  Token kw = lex_->Next();
  if (blocks_.empty() || blocks_.back().kind != BlockKind::kIf) {
    if (FindBlock(BlockKind::kIf))
      return Error(kw.offset, Mismatch("ELSEIF", BlockName(blocks_.back().kind),
                                       blocks_.back().where.line + 1));
    return Error(kw.offset, "ELSEIF without IF");
  }
  if (blocks_.back().sawElse) return Error(kw.offset, "ELSEIF after ELSE");
  Code cond;
  if (!Expression(cond)) return false;
  const Token &th = lex_->Peek();
  if (!th.IsWord("THEN")) return Error(th.offset, "expected THEN after the condition");
  lex_->Next();
  if (!lex_->AtEnd()) return Error(lex_->NextOffset(), "ELSEIF ... THEN must end its line");
  Block &b = blocks_.back();
  Code skip;
  skip.PutToken(tok::kControl, tok::kElseIfSkip);
  WriteStatement(skip);
  writer_.BindAtNextStatement(b.branchTarget);
  b.branchTarget = writer_.NewTarget();
  Code out;
  out.PutToken(tok::kControl, tok::kElseIf);
  out.Append(cond);
  out.PutToken(tok::kControl, tok::kThen);
  out.PutToken(tok::kControl, tok::kBlock);
  out.PutTarget(b.branchTarget, Here(kw.offset));
  out.Put(' ');
  out.PutTarget(b.endTarget, Here(kw.offset));
  WriteStatement(out);
  return true;
}

bool Compiler::ElseStatement() {
  Token kw = lex_->Next();
  if (blocks_.empty() || blocks_.back().kind != BlockKind::kIf) {
    if (FindBlock(BlockKind::kIf))
      return Error(kw.offset,
                   Mismatch("ELSE", BlockName(blocks_.back().kind), blocks_.back().where.line + 1));
    return Error(kw.offset, "ELSE without IF");
  }
  Block &b = blocks_.back();
  if (b.sawElse) return Error(kw.offset, "a second ELSE in the same IF block");
  Code out;
  out.PutToken(tok::kControl, tok::kElse);
  out.PutToken(tok::kControl, tok::kBlock);
  out.PutTarget(b.endTarget, Here(kw.offset));
  WriteStatement(out);
  writer_.Bind(b.branchTarget, writer_.Size());
  b.sawElse = true;
  // Statements may follow ELSE on the same line.
  if (!lex_->AtEnd() && !lex_->Peek().IsPunct(':')) return TopStatement();
  return true;
}

bool Compiler::EndStatement() {
  Token kw = lex_->Next();
  BlockKind kind;
  std::string what;
  if (kw.upper == "ENDIF") {
    kind = BlockKind::kIf;
    what = "END IF";
  } else {
    const Token &n = lex_->Peek();
    if (n.IsWord("IF"))
      kind = BlockKind::kIf;
    else if (n.IsWord("SUB"))
      kind = BlockKind::kSub;
    else if (n.IsWord("FUNCTION"))
      kind = BlockKind::kFunction;
    else if (n.IsWord("TYPE"))
      kind = BlockKind::kType;
    else {
      // END [code]: the statement that ends the program.
      Code args, out;
      if (!AtStatementEnd() && !Expression(args)) return false;
      out.PutToken(tok::High(tok::kEND), tok::Low(tok::kEND));
      if (!args.Empty()) {
        out.Put(' ');
        out.Append(args);
      }
      WriteStatement(out);
      return true;
    }
    what = "END " + n.upper;
    lex_->Next();
  }
  if (blocks_.empty() || blocks_.back().kind != kind) {
    bool open = false;
    for (const Block &b : blocks_) open |= b.kind == kind;
    if (open)
      return Error(kw.offset,
                   Mismatch(what, BlockName(blocks_.back().kind), blocks_.back().where.line + 1));
    return Error(kw.offset, what + " without " + BlockName(kind));
  }
  Block b = blocks_.back();
  Code out;
  switch (kind) {
  case BlockKind::kIf:
    if (!b.sawElse) writer_.Bind(b.branchTarget, -1);
    writer_.BindAtNextStatement(b.endTarget);
    out.PutToken(tok::kControl, tok::kEndIf);
    break;
  case BlockKind::kSub:
    out.PutToken(tok::kControl, tok::kSubEnd);
    break;
  case BlockKind::kFunction:
    out.PutToken(tok::kControl, tok::kFuncEnd);
    break;
  default:
    out.PutToken(tok::kControl, tok::kEndType);
    break;
  }
  WriteStatement(out);
  blocks_.pop_back();
  return true;
}

bool Compiler::ForStatement() {
  Token kw = lex_->Next();
  Block b{BlockKind::kFor, Here(kw.offset)};
  b.exitTarget = writer_.NewTarget();
  Token var = lex_->Peek();
  Code name, start, end, step;
  if (!VariableRef(name, false)) return false;
  b.var = name.bytes;
  const Token &eq = lex_->Peek();
  if (!eq.IsOp("=")) return Error(eq.offset, "expected '=' after the loop variable");
  lex_->Next();
  if (!Expression(start)) return false;
  const Token &to = lex_->Peek();
  if (!to.IsWord("TO")) return Error(to.offset, "expected TO");
  lex_->Next();
  if (!Expression(end)) return false;
  bool hasStep = lex_->Peek().IsWord("STEP");
  if (hasStep) {
    lex_->Next();
    if (!Expression(step)) return false;
  }
  Code out;
  out.PutToken(tok::High(tok::kFOR), tok::Low(tok::kFOR));
  out.Put(' ');
  out.PutTarget(b.exitTarget, b.where);
  out.Put(' ');
  out.Append(name);
  out.Put('=');
  out.Append(start);
  out.Put(" to ");
  out.Append(end);
  if (hasStep) {
    out.Put(" step ");
    out.Append(step);
  }
  b.head = writer_.BeginStatement() - 1;
  writer_.Write(out);
  blocks_.push_back(b);
  return true;
}

bool Compiler::NextStatement() {
  Token kw = lex_->Next();
  std::vector<Token> vars;
  if (!AtStatementEnd()) {
    for (;;) {
      Token v = lex_->Peek();
      if (v.kind != Tok::kIdent) return Error(v.offset, "expected the loop variable after NEXT");
      lex_->Next();
      vars.push_back(v);
      if (!lex_->Peek().IsPunct(',')) break;
      lex_->Next();
    }
  }
  size_t count = vars.empty() ? 1 : vars.size();
  for (size_t i = 0; i < count; ++i) {
    size_t at = vars.empty() ? kw.offset : vars[i].offset;
    if (blocks_.empty() || blocks_.back().kind != BlockKind::kFor) {
      if (FindBlock(BlockKind::kFor))
        return Error(
            at, Mismatch("NEXT", BlockName(blocks_.back().kind), blocks_.back().where.line + 1));
      return Error(at, "NEXT without FOR");
    }
    Block b = blocks_.back();
    if (!vars.empty() && NameSpelling(vars[i]) != b.var)
      return Error(at, "NEXT " + vars[i].text + " does not match FOR " + b.var + " in line " +
                           std::to_string(b.where.line + 1));
    Code out;
    out.PutToken(tok::High(tok::kNEXT), tok::Low(tok::kNEXT));
    out.Put(' ');
    out.Put(HexShort(b.head));
    WriteStatement(out);
    writer_.Bind(b.exitTarget, writer_.Size());
    blocks_.pop_back();
  }
  return true;
}

bool Compiler::WhileStatement() {
  Token kw = lex_->Next();
  Block b{BlockKind::kWhile, Here(kw.offset)};
  b.exitTarget = writer_.NewTarget();
  Code cond;
  if (!Expression(cond)) return false;
  Code out;
  out.PutToken(tok::High(tok::kWHILE), tok::Low(tok::kWHILE));
  out.Put(' ');
  out.PutTarget(b.exitTarget, b.where);
  out.Append(cond);
  b.head = writer_.BeginStatement() - 1;
  writer_.Write(out);
  blocks_.push_back(b);
  return true;
}

bool Compiler::WendStatement() {
  Token kw = lex_->Next();
  if (blocks_.empty() || blocks_.back().kind != BlockKind::kWhile) {
    if (FindBlock(BlockKind::kWhile))
      return Error(kw.offset,
                   Mismatch("WEND", BlockName(blocks_.back().kind), blocks_.back().where.line + 1));
    return Error(kw.offset, "WEND without WHILE");
  }
  Block b = blocks_.back();
  Code out;
  out.PutToken(tok::High(tok::kWEND), tok::Low(tok::kWEND));
  out.Put(' ');
  out.Put(HexShort(b.head));
  WriteStatement(out);
  writer_.Bind(b.exitTarget, writer_.Size());
  blocks_.pop_back();
  return true;
}

bool Compiler::DoStatement() {
  Token kw = lex_->Next();
  const Token &n = lex_->Peek();
  if (n.IsWord("WHILE") || n.IsWord("UNTIL"))
    return Error(n.offset, "DO " + n.upper +
                               " is not supported: put the condition on LOOP, or use WHILE ... "
                               "WEND");
  Block b{BlockKind::kDo, Here(kw.offset)};
  b.startTarget = writer_.NewTarget();
  b.exitTarget = writer_.NewTarget();
  writer_.BindAtNextStatement(b.startTarget);
  blocks_.push_back(b);
  return true;
}

bool Compiler::LoopStatement() {
  Token kw = lex_->Next();
  if (blocks_.empty() || blocks_.back().kind != BlockKind::kDo) {
    if (FindBlock(BlockKind::kDo))
      return Error(kw.offset,
                   Mismatch("LOOP", BlockName(blocks_.back().kind), blocks_.back().where.line + 1));
    return Error(kw.offset, "LOOP without DO");
  }
  Block b = blocks_.back();
  Code out;
  out.PutToken(tok::High(tok::kLOOP), tok::Low(tok::kLOOP));
  out.Put(' ');
  out.PutTarget(b.startTarget, Here(kw.offset));
  const Token &n = lex_->Peek();
  if (n.IsWord("WHILE") || n.IsWord("UNTIL")) {
    out.Put(n.IsWord("WHILE") ? "while" : "until");
    lex_->Next();
    Code cond;
    if (!Expression(cond)) return false;
    out.Append(cond);
  }
  WriteStatement(out);
  writer_.Bind(b.exitTarget, writer_.Size());
  blocks_.pop_back();
  return true;
}

bool Compiler::ExitStatement(Code &out) {
  Token kw = lex_->Next();
  Token what = lex_->Peek();
  if (what.IsWord("SUB") || what.IsWord("FUNCTION")) {
    bool isSub = what.IsWord("SUB");
    lex_->Next();
    if (!InRoutine(isSub ? BlockKind::kSub : BlockKind::kFunction))
      return Error(kw.offset, "EXIT " + what.upper + " outside a " + what.upper);
    out.PutToken(tok::kControl, isSub ? tok::kSubExit : tok::kFuncExit);
    return true;
  }
  BlockKind kind;
  uint8_t code;
  if (what.IsWord("FOR")) {
    kind = BlockKind::kFor;
    code = tok::kJump1;
  } else if (what.IsWord("DO")) {
    kind = BlockKind::kDo;
    code = tok::kJump2;
  } else if (what.IsWord("WHILE")) {
    kind = BlockKind::kWhile;
    code = tok::kJump3;
  } else {
    return Error(what.offset, "expected FOR, DO, WHILE, SUB or FUNCTION after EXIT");
  }
  lex_->Next();
  Block *b = FindBlock(kind);
  if (!b) return Error(kw.offset, "EXIT " + what.upper + " outside a " + what.upper + " loop");
  out.PutToken(tok::kControl, code);
  out.PutTarget(b->exitTarget, Here(kw.offset));
  return true;
}

} // namespace builder
