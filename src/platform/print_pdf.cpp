// The PDF device behind every printer: each document becomes one PDF drawn
// with cairo, text as real text in the face that the screen's font matching
// chooses, embedded from its FreeType face; the finished PDF goes to the
// printer's sink.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>
#include <utility>

#include "platform/cairo_calls.h"
#include "platform/cp932.h"
#include "platform/font.h"
#include "platform/print_internal.h"

namespace platform::print {
namespace {

// One face file opened for cairo. Faces live until the process ends: cairo
// keeps font faces in caches of its own, so they may not go away earlier.
struct PrintFace {
  FT_Face ft = nullptr;
  cairo_font_face_t *cairo = nullptr;
};

std::mutex &FaceMutex() {
  static auto *m = new std::mutex;
  return *m;
}

// The face file that the screen's font matching chooses for FONT; null
// when none could be opened.
const PrintFace *FaceFor(const LOGFONTA &font) {
  font::FaceMatch match =
      font::MatchFace(std::string_view(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)),
                      font.lfWeight, font.lfItalic != 0);
  std::lock_guard<std::mutex> lock(FaceMutex());
  static auto *library = new FT_Library(nullptr);
  static auto *faces = new std::map<std::tuple<std::string, int, bool, bool>, PrintFace>;
  bool bold = font.lfWeight >= 600, italic = font.lfItalic != 0;
  auto key = std::make_tuple(match.file, match.index, bold, italic);
  auto found = faces->find(key);
  if (found != faces->end()) return found->second.ft ? &found->second : nullptr;
  PrintFace &face = (*faces)[key];
  if (!*library && FT_Init_FreeType(library) != 0) return nullptr;
  if (match.file.empty() || FT_New_Face(*library, match.file.c_str(), match.index, &face.ft) != 0) {
    face.ft = nullptr;
    return nullptr;
  }
  face.cairo = cairo_ft_font_face_create_for_ft_face(face.ft, 0);
  // Bold and italic that the face file lacks are drawn synthetically, as on
  // the screen.
  unsigned synthesize = 0;
  if (bold && !(face.ft->style_flags & FT_STYLE_FLAG_BOLD)) synthesize |= CAIRO_FT_SYNTHESIZE_BOLD;
  if (italic && !(face.ft->style_flags & FT_STYLE_FLAG_ITALIC))
    synthesize |= CAIRO_FT_SYNTHESIZE_OBLIQUE;
  if (synthesize) cairo_ft_font_face_set_synthesize(face.cairo, synthesize);
  return &face;
}

// Text for cairo: UTF-8 without NUL (cairo's strings end at NUL).
std::string CairoText(std::string_view cp932Text) {
  std::string bytes(cp932Text);
  for (char &c : bytes)
    if (c == 0) c = ' ';
  return cp932::ToUtf8(bytes);
}

cairo_status_t AppendToString(void *closure, const unsigned char *data, unsigned int length) {
  static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

constexpr double kMmPerInch = 25.4;

class PdfDevice : public platform::PrintDevice {
public:
  PdfDevice(const PageSetup &setup, DocumentSink sink) : setup_(setup), sink_(std::move(sink)) {}
  ~PdfDevice() override {
    Discard();
    UnregisterPrinterDevice(this);
  }

  int GetDeviceCaps(int index) override {
    double printW = setup_.widthPt - setup_.leftPt - setup_.rightPt;
    double printH = setup_.heightPt - setup_.topPt - setup_.bottomPt;
    switch (index) {
    case LOGPIXELSX:
      return setup_.dpiX;
    case LOGPIXELSY:
      return setup_.dpiY;
    case HORZRES:
      return Dots(printW, setup_.dpiX);
    case VERTRES:
      return Dots(printH, setup_.dpiY);
    case PHYSICALWIDTH:
      return Dots(setup_.widthPt, setup_.dpiX);
    case PHYSICALHEIGHT:
      return Dots(setup_.heightPt, setup_.dpiY);
    case HORZSIZE:
      return static_cast<int>(std::lround(printW / 72.0 * kMmPerInch));
    case VERTSIZE:
      return static_cast<int>(std::lround(printH / 72.0 * kMmPerInch));
    case BITSPIXEL:
      return 24;
    default:
      return 0;
    }
  }

  int StartDoc(const std::string &name) override {
    Discard();
    title_ = name;
    pdf_.clear();
    if (!lazy::Load(lazy::kCairo)) return -1;
    surface_ =
        cairo_pdf_surface_create_for_stream(AppendToString, &pdf_, setup_.widthPt, setup_.heightPt);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
      Discard();
      return -1;
    }
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE,
                                   cp932::ToUtf8(title_).c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "Quillrunner");
    cr_ = cairo_create(surface_);
    pageOpen_ = false;
    return ++jobs_;
  }

  int StartPage() override {
    if (!cr_) return -1;
    pageOpen_ = true;
    return 1;
  }

  int EndPage() override {
    if (!cr_ || !pageOpen_) return -1;
    cairo_show_page(cr_);
    pageOpen_ = false;
    return 1;
  }

  int EndDoc() override {
    if (!cr_) return -1;
    // A page still open is printed with the document.
    if (pageOpen_) EndPage();
    cairo_destroy(cr_);
    cr_ = nullptr;
    cairo_surface_finish(surface_);
    bool ok = cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    std::string pdf = std::move(pdf_);
    pdf_.clear();
    if (!ok || !sink_ || !sink_(title_, pdf)) return -1;
    return 1;
  }

  bool TextOut(int x, int y, std::string_view text, const LOGFONTA &font, COLORREF colour,
               bool opaque, COLORREF back) override {
    if (!cr_ || !pageOpen_) return false;
    if (text.empty()) return true;
    const PrintFace *face = FaceFor(font);
    if (!face) return false;
    // The cell as the GDI measures it: the em is the cell height without
    // its internal leading, the baseline lies tmAscent below the top.
    std::shared_ptr<font::Font> realized = font::Realize(font);
    TEXTMETRICA tm;
    font::GetMetrics(*realized, tm);
    double em = tm.tmHeight - tm.tmInternalLeading;
    if (em <= 0) return false;
    std::string utf8 = CairoText(text);
    cairo_save(cr_);
    // Device units: dots from the top-left corner of the printable area.
    cairo_translate(cr_, setup_.leftPt, setup_.topPt);
    cairo_scale(cr_, 72.0 / setup_.dpiX, 72.0 / setup_.dpiY);
    if (opaque) {
      SIZE extent = font::Extent(*realized, text);
      SetColour(back);
      cairo_rectangle(cr_, x, y, extent.cx, tm.tmHeight);
      cairo_fill(cr_);
    }
    cairo_set_font_face(cr_, face->cairo);
    cairo_set_font_size(cr_, em);
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
    SetColour(colour);
    cairo_move_to(cr_, x, y + tm.tmAscent);
    cairo_show_text(cr_, utf8.c_str());
    cairo_restore(cr_);
    return cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
  }

private:
  void SetColour(COLORREF c) {
    cairo_set_source_rgb(cr_, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
  }

  static int Dots(double points, int dpi) {
    return static_cast<int>(std::floor(points / 72.0 * dpi + 0.5));
  }

  // Drops a document that was never ended.
  void Discard() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
    cr_ = nullptr;
    surface_ = nullptr;
    pageOpen_ = false;
  }

  PageSetup setup_;
  DocumentSink sink_;
  std::string title_;
  std::string pdf_;
  cairo_surface_t *surface_ = nullptr;
  cairo_t *cr_ = nullptr;
  bool pageOpen_ = false;
  int jobs_ = 0;
};

} // namespace

std::unique_ptr<PrintDevice> MakePdfDevice(const PageSetup &setup, DocumentSink sink) {
  return std::make_unique<PdfDevice>(setup, std::move(sink));
}

} // namespace platform::print
