// The main window's console text as a file at program end
// (QUILLRUNNER_CONSOLE_DUMP), so that LOCATE, overwriting and scrolling can
// be checked as text.
#pragma once

#include <string>

class ConsoleBuffer;

// BUFFER's text as UTF-8: logical lines separated by LF, transparent blanks
// written as blanks. The caller holds the buffer's mutex.
std::string ConsoleTextUtf8(const ConsoleBuffer &buffer);

// Writes the main window's console text to the file QUILLRUNNER_CONSOLE_DUMP
// names; nothing when it is unset or the main window has no console.
void WriteConsoleDump();
