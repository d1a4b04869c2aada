// The thin statements that hand a value to a system service: MCI, SHELL,
// CLIPBOARD, ENVIRON and SLEEP, and the Clipboard$ function.
#include <chrono>
#include <cstring>
#include <thread>

#include "console/main_window_input.h"
#include "expr/builtin.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/string_text.h"
#include "files/channels.h"
#include "files/error_watch.h"
#include "platform/environment.h"
#include "platform/mmsystem.h"
#include "platform/shellapi.h"
#include "platform/winbase_memory.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"
#include "sound/sound.h"

namespace {

// The raw value of a string expression (escapes decoded, NUL kept).
std::string RawString(std::string_view text) {
  return DecodeString(EvalString(text), true);
}

// The same up to its first NUL, as a C string reads it.
std::string CString(std::string_view text) {
  std::string raw = RawString(text);
  raw.resize(std::strlen(raw.c_str()));
  return raw;
}

// Runs FN with the interpreter lock left, as a waiting thread (the blocking
// protocol); a thread that program end interrupted ends afterwards.
template <typename Fn> void OutsideLock(ThreadIndex slot, Fn fn) {
  Engine &e = E();
  ThreadSlot &s = e.threads.slots[slot];
  s.waiting.store(1);
  int depth = e.lock.LeaveAll();
  fn();
  e.lock.EnterAgain(depth);
  s.waiting.store(0);
  if (!e.running.load()) ThreadEnd(slot);
}

} // namespace

void MCI(std::string &arg, ThreadIndex slot) {
  Engine &e = E();
  std::string command;
  size_t next = NextArgument(arg, 0, command);
  bool notify = next == command.size() + 1 && next <= arg.size();
  if (notify) SetMciNotifyAssignment(StripBlanks(std::string_view(arg).substr(next)) + "=1");
  ErrorWatch watch;
  std::string text = CString(command);
  if (watch.Raised()) return;
  // Relative media names are found in the runtime's current directory.
  platform::SetMediaDirectory(e.currentDirectory);
  HWND callback = notify ? e.mainWindow : 0;
  MCIERROR result = 0;
  // "play ... wait" lasts as long as the medium; other threads run meanwhile.
  if (slot >= 0 && slot < kMaxThreads)
    OutsideLock(slot, [&] { result = mciSendStringA(text.c_str(), nullptr, 0, callback); });
  else
    result = mciSendStringA(text.c_str(), nullptr, 0, callback);
  if (result != 0) RuntimeError();
}

void SHELL(std::string &arg, ThreadIndex) {
  Engine &e = E();
  std::string fileText;
  size_t next = NextArgument(arg, 0, fileText);
  bool hasParameters = next == fileText.size() + 1 && next <= arg.size();
  ErrorWatch watch;
  std::string file = ResolvePath(CString(fileText));
  std::string parameters = hasParameters ? CString(std::string_view(arg).substr(next)) : "";
  if (watch.Raised()) return;
  // Started in the runtime's current directory; the result is not examined.
  ShellExecuteA(0, "open", file.c_str(), parameters.c_str(), e.currentDirectory.c_str(),
                SW_SHOWNORMAL);
}

void CLIPBOARD(std::string &arg, ThreadIndex) {
  ErrorWatch watch;
  std::string raw = RawString(arg);
  if (watch.Raised()) return;
  HGLOBAL block = GlobalAlloc(GHND, raw.size() + 1);
  if (!block) return;
  if (void *data = GlobalLock(block)) {
    std::memcpy(data, raw.data(), raw.size());
    GlobalUnlock(block);
  }
  if (!OpenClipboard(0)) {
    GlobalFree(block);
    return;
  }
  if (!EmptyClipboard()) {
    GlobalFree(block);
    CloseClipboard();
    return;
  }
  if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
  CloseClipboard();
}

void ENVIRON(std::string &arg, ThreadIndex) {
  std::string nameText;
  size_t next = NextArgument(arg, 0, nameText);
  if (next != nameText.size() + 1 || next > arg.size()) {
    RuntimeError();
    return;
  }
  ErrorWatch watch;
  std::string name = CString(nameText);
  std::string value = CString(std::string_view(arg).substr(next));
  if (watch.Raised()) return;
  // "NAME=VALUE" sets NAME; an empty value removes it. A name that is empty
  // or holds "=" would set some other variable: it is an error.
  if (name.empty() || name.find('=') != std::string::npos) {
    RuntimeError();
    return;
  }
  if (!SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str()))
    RuntimeError();
}

void SLEEP(std::string &arg, ThreadIndex slot) {
  ErrorWatch watch;
  int32_t ms = num::TruncInt32(EvalNumeric(arg));
  if (watch.Raised()) return;
  if (ms < 0) {
    RuntimeError();
    return;
  }
  if (ms == 0) {
    // The rest of the time slice goes to the other threads.
    OutsideLock(slot, [] { std::this_thread::yield(); });
    return;
  }
  BlockingWait(
      slot, [] { return false; }, std::chrono::milliseconds(ms));
}

std::string ClipboardFunction(std::string_view, ThreadIndex) {
  if (!OpenClipboard(0)) return EmptyLiteral();
  UINT first = EnumClipboardFormats(0);
  if (first != CF_TEXT && first != CF_OEMTEXT && first != CF_UNICODETEXT) {
    CloseClipboard();
    return EmptyLiteral();
  }
  std::string text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const char *data = static_cast<const char *>(GlobalLock(block))) {
      text.assign(data, strnlen(data, GlobalSize(block)));
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return EncodeString(text, true);
}

void CloseMedia() {
  mciSendStringA("close all", nullptr, 0, 0);
}
