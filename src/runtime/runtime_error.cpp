#include "runtime/runtime_error.h"

#include "platform/cp932.h"
#include "platform/platform.h"
#include "platform/win32.h"
#include "runtime/engine.h"
#include "runtime/messages.h"
#include "runtime/tokens.h"

namespace {
thread_local uint64_t tlsErrorCount = 0;
} // namespace

uint64_t RuntimeErrorCount() {
  return tlsErrorCount;
}

void RuntimeError() {
  ++tlsErrorCount;
  Engine &e = E();
  if (e.errorTrap.NotEmpty()) {
    e.pendingStatement.Set(e.errorTrap.Text());
    return;
  }
  e.errorReported.store(true);
  platform::FlushPendingWrites();
  ThreadIndex t = CurrentThreadIndex();
  // Where it happened, when the program carries its source positions.
  if (t != kNoThread && !e.sourceMap.Empty()) {
    std::string where = e.sourceMap.Describe(e.threads.slots[t].statementStart);
    if (!where.empty()) platform::WriteErrorLine(cp932::ToUtf8(where));
  }
  MessageBoxA(0, msg::kProgramError, msg::kError, MB_ICONHAND);
  PostMessageA(e.mainWindow, WM_CLOSE, 0, 0);
  if (t == kNoThread) return;
  // As END does: wait until program end has begun, then end this thread so
  // that nothing behind the failing statement runs.
  while (e.running.load()) Sleep(1);
  ThreadEnd(t);
}

void SetErrorTrap(const std::string &labels) {
  // The trap text is a GOTO token, a blank and the label list, bounded to
  // 255 bytes; a longer list keeps its first labels (the GOTO only ever
  // takes the first).
  std::string trap;
  trap.push_back(static_cast<char>(tok::High(tok::kGOTO)));
  trap.push_back(static_cast<char>(tok::Low(tok::kGOTO)));
  trap.push_back(' ');
  trap += labels;
  if (trap.size() > 255) trap.resize(255);
  E().errorTrap.Set(trap);
}
