// LPRINT and PRINTER: text printed with PRINT's formatting into one job
// "PrintOut" that stays open across statements until a form feed, on the
// printer that PRINTER chose (by name or by the print setup dialog) or the
// default printer.
#pragma once

#include <string>

#include "flow/threads.h"

void LPRINT(std::string &arg, ThreadIndex slot);
void PRINTER(std::string &arg, ThreadIndex slot);

// Program end: an open job is printed, then the printer is released.
void ReleasePrinter();
// Program start: the print position starts again at the left margin.
void ResetPrintPosition();
