#include "console/scripted_input.h"

#include "platform/input_feeder.h"
#include "runtime/engine.h"

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
    return d;
  };
  hooks.wake = [&e] {
    { std::lock_guard<std::mutex> guard(e.waitMutex); }
    e.waitCondition.notify_all();
  };
  platform::StartInputFeeder(mainWindow, std::move(hooks));
}

void StopScriptedInput() {
  platform::StopInputFeeder();
}
