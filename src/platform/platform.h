// What the platform layer needs beyond the Win32 names: process start-up,
// the choice of display backend and the hooks that let program end interrupt
// waits inside the window manager.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// Records the executable's path and the command-line text (argv[1..] joined
// by blanks) and chooses the display backend from QUILLRUNNER_BACKEND.
void Initialize(int argc, char **argv);

// True when no display is used: window contents exist only in memory,
// message boxes go to stderr.
bool IsHeadless();

// The screen size: QUILLRUNNER_SCREEN ("1024x768", the default) in headless mode.
int ScreenWidth();
int ScreenHeight();

// The engine tells the window manager when a thread blocked in SendMessageA
// or GetMessageA should give up (program end). The check runs on the
// waiting thread; WakeAllWaiters makes every blocked thread run it again.
// It runs with the window manager's lock held, so it must be quick (read a
// flag) and must not call any Win32 function.
using AbortCheck = bool (*)();
void SetWaitAbortCheck(AbortCheck check);
// Whether the calling thread should give up its wait now.
bool WaitAborted();
void WakeAllWaiters();
// Whether the calling thread should give up a wait now (the abort check).
bool WaitAborted();

// Scripted message-box answers (the events file). Called for every message
// box with its text and caption (code page 932; "Error" for a null caption)
// and its style; returns the button to press (IDOK, IDYES...), or 0 for the
// default button. A button the box does not have is ignored. An empty
// function removes the provider.
using MessageBoxAnswerProvider =
    std::function<int(const std::string &text, const std::string &caption, unsigned type)>;
void SetMessageBoxAnswerProvider(MessageBoxAnswerProvider provider);
// The answer of a box's default button (MB_DEFBUTTON2/3 pick the second or
// third button; a default button the box does not have means the first).
int DefaultMessageBoxAnswer(unsigned type);

// Scripted answers of the print setup dialog (the events file), one per
// dialog: cancel it, or choose PRINTER (UTF-8; empty: keep the printer the
// dialog selected, the default). A name the dialog does not list is taken
// as the default. Without a provider the dialog takes its default.
struct PrintSetupAnswer {
  bool cancel = false;
  std::string printer;
};
using PrintSetupAnswerProvider = std::function<PrintSetupAnswer()>;
void SetPrintSetupAnswerProvider(PrintSetupAnswerProvider provider);

// The creation data (last argument of CreateWindowExA) of a window; null for
// none or no such window. A pointer does not fit the 32-bit lParam, so
// WM_NCCREATE and WM_CREATE carry lParam 0 and procedures ask here.
void *WindowCreateParam(uint32_t hwnd);

// Where the registry's settings file is: $QUILLRUNNER_SETTINGS, else
// $XDG_CONFIG_HOME/quillrunner/settings.ini, else
// ~/.config/quillrunner/settings.ini.
std::string SettingsFilePath();

// Makes SIGINT and SIGTERM call ON_SIGNAL (with the signal's number) on a
// thread of their own instead of killing the process; a second one ends the
// process at once with status 128 + its number. Call before any other
// thread starts.
void WatchTerminationSignals(void (*onSignal)(int));

// Writes out what file handles hold back of the program's writes (they are
// written in large pieces); a failure shows at the handle's next write or
// close.
void FlushPendingWrites();

// Writes one diagnostic line (UTF-8, without its line end) to stderr.
void WriteErrorLine(const std::string &utf8);

// ---- Process and file services for the tool (quill) ----
// Sets the run bits of a file written by the tool.
void MakeExecutable(const std::string &path);
// The path of the running executable (Linux form).
std::string SelfExecutablePath();
// The process's current directory (Linux form).
std::string CurrentDirectory();
// Creates a private temporary directory; empty on failure.
std::string MakeTempDirectory();
// Removes a directory tree (best effort).
void RemoveTree(const std::string &path);
// Runs PATH with ARGS (argv[1..]) and QUILLRUNNER_START_DIR set to
// START_DIR, waits for it and returns its exit status (128+signal when a
// signal ended it, 127 when it could not be started).
int RunProcess(const std::string &path, const std::vector<std::string> &args,
               const std::string &startDir);

// The start directory override set by RunProcess (empty when none): quill
// run starts programs in the caller's directory rather than the image's.
std::string StartDirectoryOverride();

// Destroys every window, class and message queue, so that one process can
// start several programs in a row (tests).
void ResetWindowManager();

} // namespace platform
