#include "graphics/graphics_state.h"

bool ImageTable::Record(HBITMAP old, bool oldWasBitmap, HBITMAP fresh) {
  if (oldWasBitmap) {
    for (int32_t i = 0; i < count; ++i) {
      if (slots[i] == old) {
        slots[i] = fresh;
        return true;
      }
    }
  }
  // A new bitmap, or one replacing a bitmap the table never held: it takes
  // a new slot so that program end deletes it too.
  if (count >= kImageTableSize) return false;
  slots[count++] = fresh;
  return true;
}
