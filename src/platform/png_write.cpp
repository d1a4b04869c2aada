#include "platform/png_write.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace platform {

namespace {

struct PngFile {
  FILE *file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngFile() {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    if (file) std::fclose(file);
  }
};

// libpng reports errors by longjmp; the message is kept for the caller.
void OnError(png_structp png, png_const_charp message) {
  auto *error = static_cast<std::string *>(png_get_error_ptr(png));
  if (error) *error = message ? message : "libpng error";
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// The rows of VIEW as 8-bit R, G, B bytes through ROW (3 bytes a pixel),
// written in a function of its own so that no object with a destructor
// lives across the setjmp.
bool WriteRows(png_structp png, png_infop info, const PixelView &view, png_byte *row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(view.width),
               static_cast<png_uint_32>(view.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 3); // screenshots are written at program end: keep it quick
  png_write_info(png, info);
  for (int y = 0; y < view.height; ++y) {
    const uint32_t *src = view.Row(y);
    for (int x = 0; x < view.width; ++x) {
      row[3 * x] = static_cast<png_byte>(src[x] >> 16);
      row[3 * x + 1] = static_cast<png_byte>(src[x] >> 8);
      row[3 * x + 2] = static_cast<png_byte>(src[x]);
    }
    png_write_row(png, row);
  }
  png_write_end(png, info);
  return true;
}

} // namespace

bool WritePng(const std::string &path, const PixelView &view, std::string &error) {
  if (view.width <= 0 || view.height <= 0 || !view.pixels) {
    error = "empty image";
    return false;
  }
  PngFile out;
  out.file = std::fopen(path.c_str(), "wb");
  if (!out.file) {
    error = std::strerror(errno);
    return false;
  }
  out.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
  if (out.png) out.info = png_create_info_struct(out.png);
  if (!out.png || !out.info) {
    error = "out of memory";
    return false;
  }
  png_init_io(out.png, out.file);
  std::vector<png_byte> row(static_cast<size_t>(view.width) * 3);
  if (!WriteRows(out.png, out.info, view, row.data())) return false;
  FILE *file = out.file;
  out.file = nullptr;
  if (std::fclose(file) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

} // namespace platform
