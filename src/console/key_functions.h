// The key and mouse functions: Inkey$, Input$, KeyState and Mouse. Each
// takes its argument text (blanks removed) under the interpreter lock and
// returns its result text, in the form of the built-in function dispatcher.
#pragma once

#include <string>
#include <string_view>

#include "flow/threads.h"

// Inkey$: the last key as a one-character literal (escaped), or "".
std::string InkeyFunction(std::string_view args, ThreadIndex slot);
// Input$(n): waits for n keys and returns them as a literal (escaped).
std::string InputKeysFunction(std::string_view args, ThreadIndex slot);
// KeyState(k): GetAsyncKeyState of the key; the arrow codes 28 to 31 ask
// for the arrow keys.
std::string KeyStateFunction(std::string_view args, ThreadIndex slot);
// Mouse(0|1|2): mouse x, mouse y or the last mouse event.
std::string MouseFunction(std::string_view args, ThreadIndex slot);
