// Program end: run by the main window when it is closed. Clears the running
// flag, ends every BASIC thread and releases what the program held. Runs at
// most once per run.
#pragma once

void ProgramEnd();
