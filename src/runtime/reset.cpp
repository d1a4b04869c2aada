#include "runtime/reset.h"

#include "data/variable_cells.h"
#include "data/variables.h"
#include "expr/user_functions.h"
#include "files/printer.h"
#include "flow/data_read.h"
#include "flow/jumps.h"
#include "graphics/drawing_statements.h"
#include "platform/win32.h"
#include "runtime/engine.h"
#include "sound/sound.h"

void ResetRuntime() {
  Engine &e = E();
  ResetGlobals();
  e.dataPosition = 0;
  NextData();
  e.defaultTypes.Clear();
  BumpVariableGeneration();
  ClearUserFunctions();
  ClearReturnStacks();
  ResetImages();
  ResetMusicChannels();
  for (int n = 0; n < 5; ++n) {
    e.traps.mouseSwitches[n].store(0);
    e.traps.mouseStatements[n].Clear();
  }
  e.pendingStatement.Clear();
}

void StartOfRunReset() {
  Engine &e = E();
  // The current drawing window becomes the main window with the graphics
  // subsystem.
  SendMessageA(e.mainWindow, WM_KILLFOCUS, 0, 0);
  ResetRuntime();
  e.currentDirectory = e.startDirectory;
  ResetPrintPosition();
}
