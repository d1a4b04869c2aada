#include "builder/statement_table.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "runtime/tokens.h"

namespace builder {
namespace {

using tok::Statement;

constexpr StatementInfo kStatements[] = {
    {"PRINT", tok::kPRINT, Form::kPrint},
    {"INPUT", tok::kINPUT, Form::kInput},
    {"OPEN", tok::kOPEN, Form::kOpen},
    {"CLOSE", tok::kCLOSE, Form::kClose},
    {"KEY", tok::kKEY, Form::kKey},
    {"MOUSE", tok::kMOUSE, Form::kMouse},
    {"LPRINT", tok::kLPRINT, Form::kLPrint},
    {"FIELD", tok::kFIELD, Form::kField},
    {"LSET", tok::kLSET, Form::kLset},
    {"RSET", tok::kRSET, Form::kLset},
    {"WRITE", tok::kWRITE, Form::kWrite},
    {"CHAIN", tok::kCHAIN, Form::kChain},
    {"NOP", tok::kNOP, Form::kNone},
    {"GOTO", tok::kGOTO, Form::kLabel},
    {"GOSUB", tok::kGOSUB, Form::kLabel},
    {"IF", tok::kIF, Form::kIf},
    {"LOOP", tok::kLOOP, Form::kLoop},
    {"RETURN", tok::kRETURN, Form::kNone},
    {"ON", tok::kON, Form::kOn},
    {"FOR", tok::kFOR, Form::kFor},
    {"NEXT", tok::kNEXT, Form::kNext},
    {"RUN", tok::kRUN, Form::kRun},
    {"WHILE", tok::kWHILE, Form::kWhile},
    {"WEND", tok::kWEND, Form::kWend},
    {"CREATETHREAD", tok::kCREATETHREAD, Form::kLabel},
    {"CHDIR", tok::kCHDIR, Form::kList},
    {"FILECOPY", tok::kFILECOPY, Form::kList},
    {"KILL", tok::kKILL, Form::kList},
    {"MKDIR", tok::kMKDIR, Form::kList},
    {"NAME", tok::kNAME, Form::kList},
    {"FILES", tok::kFILES, Form::kList},
    {"LOADIMAGE", tok::kLOADIMAGE, Form::kList},
    {"CIRCLE", tok::kCIRCLE, Form::kPoint},
    {"PAINT", tok::kPAINT, Form::kPoint},
    {"MOVETO", tok::kMOVETO, Form::kPoint},
    {"PRESET", tok::kPRESET, Form::kPoint},
    {"PSET", tok::kPSET, Form::kPoint},
    {"SCROLL", tok::kSCROLL, Form::kList},
    {"GPRINT", tok::kGPRINT, Form::kList},
    {"MCI", tok::kMCI, Form::kList},
    {"PLAY", tok::kPLAY, Form::kList},
    {"CLEAR", tok::kCLEAR, Form::kNone},
    {"DIM", tok::kDIM, Form::kDim},
    {"ERASE", tok::kERASE, Form::kErase},
    {"DEF", tok::kDEF, Form::kDefType},
    {"DATA", tok::kDATA, Form::kData},
    {"READ", tok::kREAD, Form::kRefs},
    {"RESTORE", tok::kRESTORE, Form::kRun},
    {"SWAP", tok::kSWAP, Form::kRefs},
    {"BEEP", tok::kBEEP, Form::kNone},
    {"CLS", tok::kCLS, Form::kOptional},
    {"COLOR", tok::kCOLOR, Form::kList},
    {"DEFFN", tok::kDEFFN, Form::kDefFn},
    {"END", tok::kEND, Form::kEnd},
    {"SHELL", tok::kSHELL, Form::kList},
    {"LET", tok::kLET, Form::kLet},
    {"LOCATE", tok::kLOCATE, Form::kList},
    {"MID$", tok::kMIDS, Form::kMid},
    {"RANDOMIZE", tok::kRANDOMIZE, Form::kOptional},
    {"PRINTER", tok::kPRINTER, Form::kOptional},
    {"CLIPBOARD", tok::kCLIPBOARD, Form::kList},
    {"ENVIRON", tok::kENVIRON, Form::kList},
    {"SLEEP", tok::kSLEEP, Form::kList},
    {"WIDTH", tok::kWIDTH, Form::kList},
    {"DESTROYWINDOW", tok::kDESTROYWINDOW, Form::kList},
    {"GETMESSAGE", tok::kGETMESSAGE, Form::kList},
    {"MESSAGEBOX", tok::kMESSAGEBOX, Form::kList},
    {"SENDMESSAGE", tok::kSENDMESSAGE, Form::kList},
    {"SETSCROLLINFO", tok::kSETSCROLLINFO, Form::kList},
    {"SHOWWINDOW", tok::kSHOWWINDOW, Form::kList},
    {"CREATEWINDOW", tok::kCREATEWINDOW, Form::kList},
    {"SETWINDOW", tok::kSETWINDOW, Form::kList},
    {"MOVEWINDOW", tok::kMOVEWINDOW, Form::kList},
    {"CREATEMENU", tok::kCREATEMENU, Form::kList},
    {"CREATEPOPUPMENU", tok::kCREATEPOPUPMENU, Form::kList},
    {"DELETEMENU", tok::kDELETEMENU, Form::kList},
    {"DESTROYMENU", tok::kDESTROYMENU, Form::kList},
    {"DRAWMENUBAR", tok::kDRAWMENUBAR, Form::kList},
    {"ENABLEMENUITEM", tok::kENABLEMENUITEM, Form::kList},
    {"INSERTMENUITEM", tok::kINSERTMENUITEM, Form::kList},
    {"REMOVEMENU", tok::kREMOVEMENU, Form::kList},
    {"RESETSYSTEMMENU", tok::kRESETSYSTEMMENU, Form::kList},
    {"SETMENU", tok::kSETMENU, Form::kList},
    {"TRACKPOPUPMENU", tok::kTRACKPOPUPMENU, Form::kList},
    {"GET", tok::kGET, Form::kGet},
    {"PUT", tok::kPUT, Form::kPut},
    {"LINE", tok::kLINE, Form::kLine},
};

// Words of the structure forms and operators that are not statements.
constexpr std::string_view kOtherReserved[] = {
    "THEN", "ELSE",     "ELSEIF", "TO",   "STEP",   "AS",     "EXIT",   "DO",
    "SUB",  "FUNCTION", "TYPE",   "CALL", "REM",    "UNTIL",  "FN",     "AND",
    "OR",   "XOR",      "NOT",    "MOD",  "DEFINT", "DEFSNG", "DEFSTR", "DEFDBL",
};

} // namespace

const StatementInfo *FindStatement(std::string_view upperName) {
  static const auto *const index = [] {
    auto *m = new std::unordered_map<std::string_view, const StatementInfo *>;
    for (const StatementInfo &s : kStatements) m->emplace(s.name, &s);
    return m;
  }();
  auto it = index->find(upperName);
  return it == index->end() ? nullptr : it->second;
}

const StatementInfo *FindStatementByCode(uint16_t code) {
  for (const StatementInfo &s : kStatements)
    if (s.code == code) return &s;
  return nullptr;
}

bool IsReservedWord(std::string_view upperName) {
  static const auto *const others = new std::unordered_set<std::string_view>(
      std::begin(kOtherReserved), std::end(kOtherReserved));
  return FindStatement(upperName) || others->count(upperName);
}

} // namespace builder
