// The functions of cairo (PDF pages) that the platform calls, loaded on
// first use (see lazy_library.h).
#pragma once

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>

#include "platform/lazy_library.h"

#define QUILL_CAIRO_FUNCTIONS(X)                                                                   \
  X(kCairo, cairo_create)                                                                          \
  X(kCairo, cairo_destroy)                                                                         \
  X(kCairo, cairo_fill)                                                                            \
  X(kCairo, cairo_font_options_create)                                                             \
  X(kCairo, cairo_font_options_destroy)                                                            \
  X(kCairo, cairo_font_options_set_hint_metrics)                                                   \
  X(kCairo, cairo_ft_font_face_create_for_ft_face)                                                 \
  X(kCairo, cairo_ft_font_face_set_synthesize)                                                     \
  X(kCairo, cairo_move_to)                                                                         \
  X(kCairo, cairo_pdf_surface_create_for_stream)                                                   \
  X(kCairo, cairo_pdf_surface_set_metadata)                                                        \
  X(kCairo, cairo_rectangle)                                                                       \
  X(kCairo, cairo_restore)                                                                         \
  X(kCairo, cairo_save)                                                                            \
  X(kCairo, cairo_scale)                                                                           \
  X(kCairo, cairo_set_font_face)                                                                   \
  X(kCairo, cairo_set_font_options)                                                                \
  X(kCairo, cairo_set_font_size)                                                                   \
  X(kCairo, cairo_set_source_rgb)                                                                  \
  X(kCairo, cairo_show_page)                                                                       \
  X(kCairo, cairo_show_text)                                                                       \
  X(kCairo, cairo_status)                                                                          \
  X(kCairo, cairo_surface_destroy)                                                                 \
  X(kCairo, cairo_surface_finish)                                                                  \
  X(kCairo, cairo_surface_status)                                                                  \
  X(kCairo, cairo_translate)

namespace platform {
QUILL_CAIRO_FUNCTIONS(QUILL_LAZY_DECLARE)
} // namespace platform
