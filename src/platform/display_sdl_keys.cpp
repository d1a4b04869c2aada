#include "platform/display_sdl_keys.h"

namespace platform::sdl {
namespace {

struct ScanKey {
  SDL_Scancode scan;
  int vk;
};

// Keys by position: everything but letters and digits.
constexpr ScanKey kByScancode[] = {
    {SDL_SCANCODE_RETURN, 0x0D},
    {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_ESCAPE, 0x1B},
    {SDL_SCANCODE_BACKSPACE, 0x08},
    {SDL_SCANCODE_TAB, 0x09},
    {SDL_SCANCODE_SPACE, 0x20},
    {SDL_SCANCODE_LSHIFT, 0xA0},
    {SDL_SCANCODE_RSHIFT, 0xA1},
    {SDL_SCANCODE_LCTRL, 0xA2},
    {SDL_SCANCODE_RCTRL, 0xA3},
    {SDL_SCANCODE_LALT, 0xA4},
    {SDL_SCANCODE_RALT, 0xA5},
    {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RGUI, 0x5C},
    {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_LEFT, 0x25},
    {SDL_SCANCODE_UP, 0x26},
    {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_KP_0, 0x60},
    {SDL_SCANCODE_KP_1, 0x61},
    {SDL_SCANCODE_KP_2, 0x62},
    {SDL_SCANCODE_KP_3, 0x63},
    {SDL_SCANCODE_KP_4, 0x64},
    {SDL_SCANCODE_KP_5, 0x65},
    {SDL_SCANCODE_KP_6, 0x66},
    {SDL_SCANCODE_KP_7, 0x67},
    {SDL_SCANCODE_KP_8, 0x68},
    {SDL_SCANCODE_KP_9, 0x69},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
    {SDL_SCANCODE_INTERNATIONAL1, 0xE2},
    {SDL_SCANCODE_INTERNATIONAL3, 0xDC},
    {SDL_SCANCODE_INTERNATIONAL2, 0x15},
    {SDL_SCANCODE_INTERNATIONAL4, 0x1C},
    {SDL_SCANCODE_INTERNATIONAL5, 0x1D},
    {SDL_SCANCODE_LANG1, 0x15},
    {SDL_SCANCODE_LANG2, 0x19},
};

} // namespace

int VirtualKeyOf(const SDL_Keysym &key) {
  SDL_Keycode sym = key.sym;
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
  SDL_Scancode scan = key.scancode;
  if (scan >= SDL_SCANCODE_F1 && scan <= SDL_SCANCODE_F12) return 0x70 + (scan - SDL_SCANCODE_F1);
  if (scan >= SDL_SCANCODE_F13 && scan <= SDL_SCANCODE_F24) return 0x7C + (scan - SDL_SCANCODE_F13);
  // A layout whose letters are not Latin still has the keys in place.
  if (scan >= SDL_SCANCODE_A && scan <= SDL_SCANCODE_Z) return 'A' + (scan - SDL_SCANCODE_A);
  if (scan >= SDL_SCANCODE_1 && scan <= SDL_SCANCODE_9) return '1' + (scan - SDL_SCANCODE_1);
  if (scan == SDL_SCANCODE_0) return '0';
  for (const ScanKey &k : kByScancode)
    if (k.scan == scan) return k.vk;
  return 0;
}

int GenericModifierOf(int virtualKey) {
  switch (virtualKey) {
  case 0xA0:
  case 0xA1:
    return 0x10; // VK_SHIFT
  case 0xA2:
  case 0xA3:
    return 0x11; // VK_CONTROL
  case 0xA4:
  case 0xA5:
    return 0x12; // VK_MENU
  default:
    return 0;
  }
}

int ControlCharacterOf(const SDL_Keysym &key) {
  switch (key.scancode) {
  case SDL_SCANCODE_RETURN:
  case SDL_SCANCODE_KP_ENTER:
    return 13;
  case SDL_SCANCODE_BACKSPACE:
    return 8;
  case SDL_SCANCODE_TAB:
    return 9;
  case SDL_SCANCODE_ESCAPE:
    return 27;
  default:
    break;
  }
  bool control = (key.mod & KMOD_CTRL) != 0 && (key.mod & KMOD_ALT) == 0;
  if (control && key.sym >= SDLK_a && key.sym <= SDLK_z) return 1 + (key.sym - SDLK_a);
  return 0;
}

} // namespace platform::sdl
