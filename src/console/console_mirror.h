// The headless copy of console output: everything stored in a console text
// also goes to stdout, in order, as UTF-8 (raw code page 932 when
// QUILLRUNNER_ENCODING is "cp932"), with TABs expanded and LF line ends.
#pragma once

#include <functional>
#include <string_view>

// Passes RAW (code page 932 bytes as stored in the console) on. A lead byte
// at the end waits for its trail byte from the next call, because typed
// double-byte characters are echoed one byte at a time.
void MirrorConsoleOutput(std::string_view raw);

// Passes on a lead byte still waiting (program end).
void FlushConsoleMirror();

// Receives the converted bytes instead of stdout (tests); an empty function
// restores stdout in headless mode.
using ConsoleMirrorSink = std::function<void(std::string_view)>;
void SetConsoleMirrorSink(ConsoleMirrorSink sink);
