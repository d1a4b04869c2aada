// The compiler behind BuildProgram. Its work is spread over files by
// concern: compiler.cpp (lines, labels, block structure), declarations.cpp
// (names known before compiling, DIM, TYPE, SUB and FUNCTION headers),
// expression.cpp (expressions) and statements.cpp (the other statements).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "builder/builder.h"
#include "builder/lexer.h"
#include "builder/program_writer.h"
#include "builder/source_text.h"
#include "builder/statement_table.h"
#include "expr/function_codes.h"

namespace builder {

class Compiler {
public:
  explicit Compiler(std::vector<SourceFile> files);
  BuildResult Run();

private:
  enum class BlockKind { kIf, kFor, kWhile, kDo, kSub, kFunction, kType };
  struct Block {
    Block(BlockKind k, SourceRef w) : kind(k), where(w) {}
    BlockKind kind;
    SourceRef where;
    int exitTarget = -1;   // FOR, WHILE, DO: the terminator behind the end
    int64_t head = -1;     // FOR, WHILE: the terminator in front of the head
    int startTarget = -1;  // DO: the terminator in front of the body
    std::string var;       // FOR: the loop variable
    int branchTarget = -1; // IF: the position of the next branch
    int endTarget = -1;    // IF: the position of END IF
    bool sawElse = false;  // IF
    std::string name;      // SUB, FUNCTION: name as in the header
  };
  struct Routine {
    std::string name;
    bool isFunction = false;
    int target = -1; // position of the "(" of the header
    bool defined = false;
    SourceRef where;
  };
  struct TypeDef {
    std::string name;
    int target = -1; // position of the TYPE token
    bool defined = false;
  };
  struct Label {
    int target = -1;
    bool defined = false;
    SourceRef where;
  };

  // ---- compiler.cpp: lines, labels and structure
  void CompileFile(int file);
  void CompileLine(const std::string &text);
  bool TopStatement();
  bool TypeMemberLine();
  bool BlockIf(Code &cond, size_t offset);
  bool ElseIfStatement();
  bool ElseStatement();
  bool EndStatement(); // END, END IF, END SUB, END FUNCTION, END TYPE
  bool ForStatement();
  bool NextStatement();
  bool WhileStatement();
  bool WendStatement();
  bool DoStatement();
  bool LoopStatement();
  bool ExitStatement(Code &out);
  void DefineLabel(const std::string &name, size_t offset);
  int LabelTarget(const std::string &name, size_t offset);
  // Reads a label reference (*name or a line number) and writes its operand.
  bool LabelOperand(Code &out);
  Block *FindBlock(BlockKind kind);
  bool InRoutine(BlockKind kind) const;
  void CloseOpenBlocks();
  void WriteStatement(const Code &code);
  srcmap::SourceMap MakeSourceMap() const;
  std::string BlockName(BlockKind kind) const;

  // ---- declarations.cpp
  void CollectSymbols();
  bool RoutineHeader(bool isFunction);
  bool TypeHeader();
  // One declaration: name [(bounds)] [AS type].
  bool Declaration(Code &out, bool allowBounds);
  bool TypeName(Code &out);
  bool DimStatement(Code &out);
  bool DefFnStatement(Code &out);
  bool DefTypeStatement(Code &out, const std::string &word);

  // ---- expression.cpp
  bool Expression(Code &out);
  bool BinaryChain(Code &out, bool groupStart);
  bool Unary(Code &out, bool atStart);
  bool Primary(Code &out);
  bool VariableRef(Code &out, bool allowSubscripts = true);
  bool FunctionCall(Code &out, const fn::FunctionInfo &f, size_t where);
  bool FnCall(Code &out, const std::string &name);
  bool RoutineCall(Code &out, const Routine &r, uint8_t code);
  bool CallArguments(Code &out, bool builtinArgs);
  bool StringLiteral(Code &out, const Token &t);
  std::string NameSpelling(const Token &t) const;
  bool IsFnCall(const Token &t, std::string &name) const;

  // ---- statements.cpp
  bool SimpleStatement(Code &out, bool inLineIf);
  bool SimpleStatementBody(Code &out, bool inLineIf);
  bool KeywordStatement(Code &out, const StatementInfo &info, bool inLineIf);
  bool AssignmentOrCall(Code &out);
  bool CallStatement(Code &out, const Routine &r);
  bool SingleLineIf(Code &out, Code &cond);
  bool IfBranch(Code &out, bool &stoppedAtElse);
  bool ListArguments(Code &out, bool allowWords = true);
  bool PrintItems(Code &out);
  bool ChannelPrefix(Code &out, bool required);
  bool ChannelDigit(Code &out);
  bool CoordinatePair(Code &out);
  bool PrintStatement(Code &out, Form form);
  bool InputStatement(Code &out);
  // An optional prompt literal of INPUT and LINE INPUT with its ";" or ",".
  bool InputPrompt(Code &out);
  bool LineStatement(Code &out);
  bool OpenStatement(Code &out);
  bool CloseStatement(Code &out);
  bool FieldStatement(Code &out);
  bool GetPutStatement(Code &out, bool put);
  bool OnStatement(Code &out);
  bool ChainStatement(Code &out);
  bool DataStatement(Code &out);
  bool RefList(Code &out);
  bool Word(Code &out, std::initializer_list<const char *> words, const char *what);

  // ---- errors and helpers
  bool Error(size_t offset, const std::string &message);
  bool ErrorAt(const SourceRef &where, const std::string &message);
  SourceRef Here(size_t offset) const;
  bool Expect(char punct, const char *what);
  bool AtStatementEnd();
  const std::string &LineText(const SourceRef &where) const;

  std::vector<SourceFile> files_;
  ProgramWriter writer_;
  std::vector<Diagnostic> errors_;
  std::map<int, std::string> targetErrors_; // message for an unbound target

  std::map<std::string, Routine> routines_; // by upper-case name
  std::map<std::string, TypeDef> types_;
  std::map<std::string, std::string> fnNames_; // upper-case -> spelling
  std::map<std::string, Label> labels_;
  std::vector<int> fileStarts_;
  std::vector<Block> blocks_;

  int file_ = 0;
  int line_ = 0;
  Lexer *lex_ = nullptr;
  bool lineDone_ = false;   // REM or a header ended the line
  int builtinArgDepth_ = 0; // inside the arguments of a built-in function
  int nesting_ = 0;         // depth of nested expressions and statements
};

} // namespace builder
