#include "runtime/startup.h"

#include <atomic>
#include <string>
#include <thread>

#include "console/main_window.h"
#include "console/scripted_input.h"
#include "expr/string_text.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/win32.h"
#include "platform/wingdi.h"
#include "runtime/engine.h"
#include "runtime/loader.h"
#include "runtime/messages.h"
#include "windows/user_window.h"

namespace {

constexpr HINSTANCE kInstance = 0x00400000;

bool Register(const char *name, WNDPROC proc) {
  WNDCLASSEXA wc;
  wc.cbSize = 48;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = kInstance;
  wc.hIcon = IDI_APPLICATION;
  wc.hIconSm = IDI_APPLICATION;
  wc.hCursor = IDC_ARROW;
  wc.hbrBackground = WHITE_BRUSH;
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

// A BASIC thread blocked in the window manager gives up once program end
// has begun.
bool ShouldAbortWait() {
  return CurrentThreadIndex() != kNoThread && !E().running.load();
}

// Splits a Windows path into drive + directory (with its final "\") and the
// file name without extension.
void SplitModulePath(const std::string &path, std::string &directory, std::string &name) {
  size_t slash = path.find_last_of("\\/");
  size_t nameStart =
      slash == std::string::npos ? (path.size() > 1 && path[1] == ':' ? 2 : 0) : slash + 1;
  directory = path.substr(0, nameStart);
  name = path.substr(nameStart);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
}

// A termination request comes from the signal watcher's thread.
std::atomic<int> gTerminationSignal{0};
std::atomic<HWND> gMainWindow{0};

} // namespace

void TerminationRequested(int signal) {
  gTerminationSignal.store(signal);
  // Before the window exists the entry sees the request once it has made it.
  RequestProgramEnd();
}

void RequestProgramEnd() {
  if (HWND main = gMainWindow.load()) PostMessageA(main, WM_CLOSE, 0, 0);
}

int ProgramEntry(Engine &e) {
  InstallEngine(&e);
  platform::SetWaitAbortCheck(ShouldAbortWait);

  e.surfaceWidth = GetSystemMetrics(SM_CXSCREEN);
  e.surfaceHeight = GetSystemMetrics(SM_CYSCREEN);
  e.instance = kInstance;
  e.foreground = 0xFFFFFF;
  e.background = 0x000000;
  e.consoleColumnLimit = 8192;
  e.consoleLineLimit = 8192;
  ReadSerialDefaults(e.serial);

  if (!Register(kMainWindowClass, MainWindowProc) || !Register(kNormalClass, NormalWindowProc) ||
      !Register(kPromptClass, PromptWindowProc))
    return 0;

  char modulePath[MAX_PATH] = {};
  GetModuleFileNameA(0, modulePath, MAX_PATH);
  std::string caption;
  SplitModulePath(modulePath, e.startDirectory, caption);
  // quill run starts a program in the caller's directory.
  std::string override = platform::StartDirectoryOverride();
  if (!override.empty()) {
    e.startDirectory = platform::ToWindowsPath(override);
    if (e.startDirectory.empty() || e.startDirectory.back() != '\\') e.startDirectory += '\\';
  }

  e.mainWindow = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, kMainWindowClass,
                                 caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, kInstance, nullptr);
  if (!e.mainWindow) {
    MessageBoxA(0, msg::kError, msg::kAppCaption, MB_ICONEXCLAMATION);
    return 1;
  }
  gMainWindow.store(e.mainWindow);
  if (gTerminationSignal.load()) PostMessageA(e.mainWindow, WM_CLOSE, 0, 0);
  e.commandLine = EncodeString(GetCommandLineA(), false);
  // Headless: the events file and stdin are typed into the main window.
  StartScriptedInput(e.mainWindow);

  ThreadSlot &zero = e.threads.slots[0];
  zero.handle.store(NewThreadHandle());
  HWND main = e.mainWindow;
  zero.system = std::thread([main] { LoadProgramImage(main); });

  int exitCode = 0;
  MSG m;
  for (;;) {
    BOOL r = GetMessageA(&m, 0, 0, 0);
    if (r == 0) {
      exitCode = static_cast<int>(m.wParam);
      break;
    }
    if (r == -1) {
      MessageBoxA(0, msg::kError, msg::kAppCaption, MB_ICONEXCLAMATION);
      exitCode = 1;
      break;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  StopScriptedInput();
  // Every BASIC thread has ended by now (program end waited for them, or
  // the program never started); join what is left.
  JoinEndedThreads();
  platform::SetWaitAbortCheck(nullptr);
  gMainWindow.store(0);
  if (int signal = gTerminationSignal.load()) return 128 + signal;
  if (e.errorReported.load() || e.loadFailed.load()) return 1;
  return exitCode;
}
