// Screenshots: with QUILLRUNNER_SCREENSHOT=PATH set, program end writes the
// main window as it shows (its surface with the text layer painted over
// it) to PATH as a PNG of the surface's size.
#pragma once

// Writes the screenshot when it is asked for. A path that cannot be
// written gives one line on stderr and changes nothing else.
void WriteScreenshot();
