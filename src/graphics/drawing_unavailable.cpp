// Without the graphics device interface in the build, the drawing
// statements report the runtime error and nothing is drawn.
#if !QUILL_HAVE_GDI

#include "graphics/drawing_statements.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

void PSET(std::string &, ThreadIndex) {
  RuntimeError();
}
void PRESET(std::string &, ThreadIndex) {
  RuntimeError();
}
void MOVETO(std::string &, ThreadIndex) {
  RuntimeError();
}
void CIRCLE(std::string &, ThreadIndex) {
  RuntimeError();
}
void PAINT(std::string &, ThreadIndex) {
  RuntimeError();
}
void LOADIMAGE(std::string &, ThreadIndex) {
  RuntimeError();
}
void SCROLL(std::string &, ThreadIndex) {
  RuntimeError();
}
void GraphicsLine(std::string &) {
  RuntimeError();
}
void GraphicsGet(std::string &) {
  RuntimeError();
}
void GraphicsPut(std::string &) {
  RuntimeError();
}
void ReleaseImages() {}
void ResetImages() {
  E().graphics.images.count = 0;
}

#endif

#if !QUILL_HAVE_GDI_TEXT

#include "graphics/drawing_statements.h"
#include "runtime/runtime_error.h"

void GPRINT(std::string &, ThreadIndex) {
  RuntimeError();
}

#endif
