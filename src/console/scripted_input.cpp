#include "console/scripted_input.h"

#include "platform/input_feeder.h"
#include "platform/winuser_window.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "windows/user_window.h"

void StartScriptedInput(HWND mainWindow) {
  Engine &e = E();
  platform::InputFeederHooks hooks;
  hooks.demand = [&e] {
    platform::InputDemand d;
    const KeyboardState &k = e.keyboard;
    d.line = k.inputMode.load() == 1;
    d.keys = k.keyWaiters.load() > 0;
    d.lastKey = k.lastKey.load();
    d.handled = k.keyMessages.load();
    d.messages = k.messageWaiters.load() > 0;
    return d;
  };
  // Keys go to a focused control or user window directly, except while a
  // console input waits for its line: that takes every key.
  hooks.keyTarget = [&e, mainWindow]() -> HWND {
    if (e.keyboard.inputMode.load() == 1) return 0;
    HWND focus = GetFocus();
    if (!focus || focus == mainWindow) return 0;
    if (EqualsNoCase(platform::ClassNameOf(focus), kPromptClass)) return 0;
    return focus;
  };
  // A console input in a user window takes its keys in that window.
  hooks.lineTarget = [&e, mainWindow]() -> HWND {
    if (e.keyboard.inputMode.load() != 1) return 0;
    HWND window = e.keyboard.inputWindow.load();
    return window == mainWindow ? 0 : window;
  };
  hooks.alive = [&e] { return e.running.load() != 0 || !e.programEnded.load(); };
  hooks.wake = [&e] {
    { std::lock_guard<std::mutex> guard(e.waitMutex); }
    e.waitCondition.notify_all();
  };
  platform::StartInputFeeder(mainWindow, std::move(hooks));
}

void StopScriptedInput() {
  platform::StopInputFeeder();
}
