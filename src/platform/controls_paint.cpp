// The controls' painters. Until the GDI draws into windows, painting only
// marks the window as painted.
#include "platform/controls_paint.h"

namespace platform {

void PaintEdit(HWND hwnd, const EditLook &) {
  ValidateRect(hwnd, nullptr);
}
void PaintButton(HWND hwnd, const ButtonLook &) {
  ValidateRect(hwnd, nullptr);
}
void PaintList(HWND hwnd, const ListLook &) {
  ValidateRect(hwnd, nullptr);
}
void PaintStatic(HWND hwnd, const StaticLook &) {
  ValidateRect(hwnd, nullptr);
}
void PaintScrollBar(HWND hwnd, const ScrollLook &) {
  ValidateRect(hwnd, nullptr);
}

} // namespace platform
