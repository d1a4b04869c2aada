// Screenshots: with QUILLRUNNER_SCREENSHOT=PATH set, program end writes the
// main window as it shows (its surface with the text layer painted over
// it) to PATH as a PNG of the surface's size.
#pragma once

// Writes the screenshot when it is asked for. A path that cannot be
// written gives one line on stderr and changes nothing else.
void WriteScreenshot();

// With QUILLRUNNER_WINDOW_SHOTS=DIR set, writes each visible top-level user
// window (the main window aside) as DIR/<n>.png with its caption in
// DIR/<n>.txt, numbered from 1 in creation order. A file that cannot be
// written gives one line on stderr.
void WriteWindowShots();
