// The statement keywords of the source language, the statement tokens they
// become and the form of their argument text. Used by the builder (keyword
// to token) and the lister (token to keyword).
#pragma once

#include <cstdint>
#include <string_view>

namespace builder {

enum class Form : uint8_t {
  kNone,     // no argument
  kList,     // expressions separated by commas; a place may stay empty
  kOptional, // one optional expression
  kPrint,    // [#n,] [using format;] items with ";" and ","
  kLPrint,   // [using format;] items
  kWrite,    // [#n,] items
  kInput,    // [#n,] | ["prompt"; | ,] variables
  kLine,     // LINE (graphics) and LINE INPUT
  kOpen,     // name [FOR mode] AS [#]n
  kClose,    // [[#]n, ...]
  kField,    // [#]n, width AS name, ...
  kLset,     // name = expression
  kGet,      // #n, record | (x1,y1)-[STEP](x2,y2), variable
  kPut,      // #n, record | (x,y), image, mode
  kPoint,    // (x,y) [, more]
  kKey,      // ON | OFF | STOP
  kMouse,    // (n) ON | OFF | STOP
  kOn,       // ON ERROR / KEY / MOUSE(n) / expression GOTO|GOSUB labels
  kLabel,    // one label
  kRun,      // [label]
  kChain,    // "file" [, label] [, ALL]
  kEnd,      // [expression]
  kDim,      // declarations
  kErase,    // names
  kRefs,     // variable references (SWAP, READ)
  kData,     // constants
  kDefType,  // DEFINT letters and the like
  kDefFn,    // DEF FN name(params) = expression
  kLet,      // assignment
  kMid,      // MID$(var, start [, length]) = expression
  kIf,
  kFor,
  kNext,
  kWhile,
  kWend,
  kLoop,
};

struct StatementInfo {
  const char *name; // source keyword (upper case)
  uint16_t code;
  Form form;
};

// Finds a statement by its upper-case keyword.
const StatementInfo *FindStatement(std::string_view upperName);
// Finds the keyword of a statement code; null for a code without one.
const StatementInfo *FindStatementByCode(uint16_t code);

// Words that can never be names of variables: statement keywords, the words
// of the structure forms and of operators.
bool IsReservedWord(std::string_view upperName);

} // namespace builder
