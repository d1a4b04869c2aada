// How the controls look: each control's procedure hands its painter what is
// to be shown, and the painter draws it into the window with the GDI (or
// only validates the window where nothing can be drawn).
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace platform {

// The inner margin of an edit control's text.
constexpr int kEditMargin = 3;

struct EditLook {
  std::string text;          // as shown (password characters already replaced)
  std::vector<size_t> lines; // start of each line
  size_t selStart = 0, selEnd = 0;
  size_t firstLine = 0;
  bool focused = false;
  bool readOnly = false;
};

struct ButtonLook {
  std::string text;
  DWORD type = 0; // BS_PUSHBUTTON...
  int check = 0;  // BST_CHECKED...
  bool pushed = false;
  bool focused = false;
  bool enabled = true;
  bool isDefault = false;
};

struct ListLook {
  std::vector<std::string> items;
  int selected = -1;
  int top = 0;
  bool focused = false;
  // A combo box: the edit (or selection) field and whether the list is
  // dropped down below it.
  bool combo = false;
  std::string field;
  bool dropped = false;
};

struct StaticLook {
  std::string text;
  DWORD style = 0;
};

struct ScrollLook {
  bool vertical = false;
  int min = 0, max = 100, page = 0, pos = 0;
};

void PaintEdit(HWND hwnd, const EditLook &look);
void PaintButton(HWND hwnd, const ButtonLook &look);
void PaintList(HWND hwnd, const ListLook &look);
void PaintStatic(HWND hwnd, const StaticLook &look);
void PaintScrollBar(HWND hwnd, const ScrollLook &look);

} // namespace platform
