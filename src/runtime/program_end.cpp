#include "runtime/program_end.h"

#include "console/console_dump.h"
#include "console/console_mirror.h"
#include "data/variables.h"
#include "files/channels.h"
#include "files/printer.h"
#include "graphics/drawing_statements.h"
#include "graphics/screenshot.h"
#include "platform/win32.h"
#include "runtime/engine.h"
#include "sound/sound.h"

void ProgramEnd() {
  Engine &e = E();
  // 1. Only the first call does anything.
  if (!e.running.exchange(0)) return;
  e.programEnded.store(true);
  // 2. Threads blocked outside the lock are woken; they see that the
  //    program is ending and end themselves, releasing their local scopes.
  WakeWaiters();
  // 3. Wait for every BASIC thread, handling messages sent to this thread
  //    meanwhile (a BASIC thread may be waiting for this window's answer).
  while (AnyThreadInUse()) {
    MSG m;
    PeekMessageA(&m, 0, 0, 0, PM_NOREMOVE);
    Sleep(1);
  }
  JoinEndedThreads();
  // 4.-6. The lock stays usable (it belongs to the engine); the global
  //    variables, console input mode, colours and console limits reset.
  ResetGlobals();
  e.foreground = 0xFFFFFF;
  e.background = 0x000000;
  e.consoleColumnLimit = 8192;
  e.consoleLineLimit = 8192;
  // 7. Every bitmap of the image table.
  ReleaseImages();
  // 8. Every file channel is closed; what was written is already in the
  //    files, as channels do not buffer.
  CloseAllChannels();
  // 9. Window surfaces are released by their subsystem here as it arrives.
  // 10. An open print job is printed and the printer released.
  ReleasePrinter();
  // 11. The music has stopped with its BASIC thread; the MIDI output closes
  //    (a recording is written now) and media devices stop and close.
  CloseMusic();
  CloseMedia();
  // 12. The program text.
  e.program.Clear();
  // 13.-14. The main window's surface and the console font; its console
  //    text is written out first when QUILLRUNNER_CONSOLE_DUMP asks for it.
  //    The screenshot, when asked for, shows the window as it was.
  FlushConsoleMirror();
  WriteConsoleDump();
  WriteScreenshot();
  e.windows.ReleaseAll();
  if (HFONT font = e.consoleFontState.handle.exchange(0)) DeleteObject(font);
}
