#include "runtime/statement_table.h"

#include <array>

#include "console/console_statements.h"
#include "console/print.h"
#include "data/assignment.h"
#include "data/declarations.h"
#include "expr/function_statements.h"
#include "files/file_statements.h"
#include "files/get_put_statements.h"
#include "files/input_statements.h"
#include "files/printer.h"
#include "flow/data_read.h"
#include "flow/event_traps.h"
#include "flow/jumps.h"
#include "flow/loops.h"
#include "flow/thread_create.h"
#include "graphics/drawing_statements.h"
#include "graphics/surface_statements.h"
#include "platform/win32.h"
#include "runtime/reset.h"
#include "runtime/tokens.h"
#include "sound/sound.h"
#include "windows/message_queue.h"
#include "windows/window_statements.h"

namespace {

void NoAction(std::string &, ThreadIndex) {}
void BEEP(std::string &, ThreadIndex) {
  MessageBeep(0);
}
void CLEAR(std::string &, ThreadIndex) {
  ResetRuntime();
}

struct Entry {
  uint16_t code;
  StatementHandler handler;
};

// IF and END are called by the dispatcher itself; every code not listed has
// no handler and is reported as a runtime error.
constexpr Entry kEntries[] = {
    {tok::kNOP, NoAction},
    {tok::kNOP2, NoAction},
    {tok::kDATA, NoAction},
    {tok::kBEEP, BEEP},
    {tok::kCLEAR, CLEAR},
    {tok::kGOTO, GOTO},
    {tok::kGOSUB, GOSUB},
    {tok::kRETURN, RETURN},
    {tok::kON, ON},
    {tok::kLET, LET},
    {tok::kSWAP, SWAP},
    {tok::kDIM, DIM},
    {tok::kDEF, DEF},
    {tok::kERASE, ERASE},
    {tok::kCLS, CLS},
    {tok::kCOLOR, COLOR},
    {tok::kLOCATE, LOCATE},
    {tok::kWIDTH, WIDTH},
    {tok::kPRINT, PRINT},
    {tok::kWRITE, WRITE},
    {tok::kFOR, FOR},
    {tok::kNEXT, NEXT},
    {tok::kWHILE, WHILE},
    {tok::kWEND, WEND},
    {tok::kLOOP, LOOP},
    {tok::kREAD, READ},
    {tok::kRESTORE, RESTORE},
    {tok::kRUN, RUN},
    {tok::kCHAIN, CHAIN},
    {tok::kKEY, KEY},
    {tok::kMOUSE, MOUSE},
    {tok::kCREATETHREAD, CREATETHREAD},
    {tok::kDEFFN, DEFFN},
    {tok::kRANDOMIZE, RANDOMIZE},
    {tok::kMIDS, MIDS},
    {tok::kOPEN, OPEN},
    {tok::kCLOSE, CLOSE},
    {tok::kFIELD, FIELD},
    {tok::kLSET, LSET},
    {tok::kRSET, RSET},
    {tok::kGET, GET},
    {tok::kPUT, PUT},
    {tok::kINPUT, INPUT},
    {tok::kLINE, LINE},
    {tok::kCHDIR, CHDIR},
    {tok::kFILECOPY, FILECOPY},
    {tok::kKILL, KILL},
    {tok::kMKDIR, MKDIR},
    {tok::kNAME, NAME},
    {tok::kFILES, FILES},
    {tok::kPLAY, PLAY},
    {tok::kMCI, MCI},
    {tok::kSHELL, SHELL},
    {tok::kCLIPBOARD, CLIPBOARD},
    {tok::kENVIRON, ENVIRON},
    {tok::kSLEEP, SLEEP},
    {tok::kLPRINT, LPRINT},
    {tok::kPRINTER, PRINTER},
    {tok::kPSET, PSET},
    {tok::kPRESET, PRESET},
    {tok::kMOVETO, MOVETO},
    {tok::kCIRCLE, CIRCLE},
    {tok::kPAINT, PAINT},
    {tok::kLOADIMAGE, LOADIMAGE},
    {tok::kGPRINT, GPRINT},
    {tok::kSCROLL, SCROLL},
    {tok::kSETWINDOW, SETWINDOW},
    {tok::kCREATEWINDOW, CREATEWINDOW},
    {tok::kDESTROYWINDOW, DESTROYWINDOW},
    {tok::kSHOWWINDOW, SHOWWINDOW},
    {tok::kMOVEWINDOW, MOVEWINDOW},
    {tok::kSETSCROLLINFO, SETSCROLLINFO},
    {tok::kGETMESSAGE, GETMESSAGE},
    {tok::kSENDMESSAGE, SENDMESSAGE},
    {tok::kMESSAGEBOX, MESSAGEBOX},
    {tok::kCREATEMENU, CREATEMENU},
    {tok::kCREATEPOPUPMENU, CREATEPOPUPMENU},
    {tok::kDELETEMENU, DELETEMENU},
    {tok::kDESTROYMENU, DESTROYMENU},
    {tok::kDRAWMENUBAR, DRAWMENUBAR},
    {tok::kENABLEMENUITEM, ENABLEMENUITEM},
    {tok::kINSERTMENUITEM, INSERTMENUITEM},
    {tok::kREMOVEMENU, REMOVEMENU},
    {tok::kRESETSYSTEMMENU, RESETSYSTEMMENU},
    {tok::kSETMENU, SETMENU},
    {tok::kTRACKPOPUPMENU, TRACKPOPUPMENU},
};

// Statement codes run from 0x1000 to 0x11ff.
constexpr size_t kTableSize = 0x200;

constexpr std::array<StatementHandler, kTableSize> MakeTable() {
  std::array<StatementHandler, kTableSize> table{};
  for (const Entry &e : kEntries) table[e.code - 0x1000] = e.handler;
  return table;
}

constexpr std::array<StatementHandler, kTableSize> kTable = MakeTable();

} // namespace

StatementHandler FindHandler(uint16_t code) {
  if (code < 0x1000 || static_cast<size_t>(code - 0x1000) >= kTableSize) return nullptr;
  return kTable[code - 0x1000];
}
