// Keys of SDL's keyboard events as Windows virtual-key codes.
#pragma once

#include <SDL2/SDL_keyboard.h>

namespace platform::sdl {

// The virtual key of a key event (0 for a key Windows has no code for).
// Letters and digits follow the key's symbol on the user's layout, the other
// keys its position.
int VirtualKeyOf(const SDL_Keysym &key);

// The generic key that a left or right modifier also holds down (VK_SHIFT
// for VK_LSHIFT...); 0 for any other key.
int GenericModifierOf(int virtualKey);

// The character that a key press gives without text input (Enter 13,
// Backspace 8, Tab 9, Escape 27, Control with a letter 1 to 26); 0 for
// keys whose characters come as text.
int ControlCharacterOf(const SDL_Keysym &key);

} // namespace platform::sdl
