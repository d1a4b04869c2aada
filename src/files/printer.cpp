#include "files/printer.h"

#include <cstring>
#include <vector>

#include "console/print.h"
#include "expr/eval.h"
#include "expr/string_text.h"
#include "files/error_watch.h"
#include "platform/commdlg.h"
#include "platform/winspool.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/runtime_error.h"

namespace {

constexpr int32_t kLeftMargin = 10;
constexpr char kFormFeed = 12;

// The console font with the height of the point size at the printer's
// vertical resolution.
HFONT MakePrinterFont(HDC dc) {
  Engine &e = E();
  LOGFONTA font = e.consoleFont;
  font.lfHeight = -MulDiv(e.printerPointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
  return CreateFontIndirectA(&font);
}

// Ends the open job so that it is printed, and restores the font that was
// selected before it.
void FinishJob() {
  PrinterState &p = E().printer;
  if (!p.jobOpen) return;
  EndPage(p.dc);
  EndDoc(p.dc);
  SelectObject(p.dc, p.previousFont);
  p.jobOpen = 0;
  p.x = kLeftMargin;
  p.y = 0;
}

// Makes DC the printer: an open job is printed on the old printer first
// (none is lost when the printer changes), then the old context and font go.
void TakePrinter(HDC dc) {
  PrinterState &p = E().printer;
  FinishJob();
  if (p.dc) DeleteDC(p.dc);
  if (p.font) DeleteObject(p.font);
  p.dc = dc;
  p.font = MakePrinterFont(dc);
}

// The default printer's name (code page 932); empty when there is none.
std::string DefaultPrinter() {
  DWORD needed = 0, count = 0;
  EnumPrintersA(PRINTER_ENUM_DEFAULT, nullptr, 5, nullptr, 0, &needed, &count);
  if (needed == 0) return {};
  std::vector<PRINTER_INFO_5A> buffer(needed / sizeof(PRINTER_INFO_5A) + 1);
  auto *bytes = reinterpret_cast<BYTE *>(buffer.data());
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(PRINTER_INFO_5A));
  if (!EnumPrintersA(PRINTER_ENUM_DEFAULT, nullptr, 5, bytes, size, &needed, &count) ||
      count == 0 || !buffer[0].pPrinterName)
    return {};
  return buffer[0].pPrinterName;
}

// Draws LINE at the print position.
void DrawLine(const std::string &line) {
  PrinterState &p = E().printer;
  if (!line.empty()) TextOutA(p.dc, p.x, p.y, line.data(), static_cast<int>(line.size()));
}

} // namespace

void LPRINT(std::string &arg, ThreadIndex) {
  Engine &e = E();
  PrinterState &p = e.printer;
  // 1. The default printer when none is chosen yet.
  if (!p.dc) {
    std::string name = DefaultPrinter();
    HDC dc = name.empty() ? 0 : CreateDCA(nullptr, name.c_str(), nullptr, nullptr);
    if (!dc) {
      RuntimeError();
      return;
    }
    TakePrinter(dc);
  }
  // 2. The job opens with its first page and the printer font.
  if (!p.jobOpen) {
    DOCINFOA doc;
    doc.cbSize = sizeof doc;
    doc.lpszDocName = "PrintOut";
    StartDocA(p.dc, &doc);
    StartPage(p.dc);
    p.previousFont = SelectObject(p.dc, p.font);
    p.x = kLeftMargin;
    p.y = 0;
    p.jobOpen = 1;
  }
  // 3. Line height.
  TEXTMETRICA tm;
  GetTextMetricsA(p.dc, &tm);
  int32_t lineHeight = tm.tmHeight + tm.tmExternalLeading;
  // 4. The text, line by line; the last piece stays open for the next LPRINT.
  ErrorWatch watch;
  std::string text = PrintText(arg, true);
  if (watch.Raised()) return;
  std::string line;
  bool formFeed = false;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] == '\n') {
      DrawLine(line);
      p.x = kLeftMargin;
      p.y += lineHeight;
      line.clear();
      continue;
    }
    if (i == text.size() || text[i] == kFormFeed) {
      if (!line.empty()) {
        DrawLine(line);
        SIZE extent;
        if (GetTextExtentPoint32A(p.dc, line.data(), static_cast<int>(line.size()), &extent))
          p.x += extent.cx;
      }
      formFeed = i < text.size();
      break;
    }
    line.push_back(text[i]);
  }
  // 5. A form feed prints the job; the rest of the text is dropped.
  if (formFeed) FinishJob();
}

void PRINTER(std::string &arg, ThreadIndex) {
  Engine &e = E();
  if (StripBlanks(arg).empty()) {
    PRINTDLGA dialog;
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = e.mainWindow;
    dialog.Flags = PD_RETURNDC | PD_PRINTSETUP;
    if (!PrintDlgA(&dialog) || !dialog.hDC) return; // cancelled: nothing changes
    TakePrinter(dialog.hDC);
    return;
  }
  ErrorWatch watch;
  std::string name = DecodeString(EvalString(arg), true);
  if (watch.Raised()) return;
  name.resize(std::strlen(name.c_str()));
  // The new context is made first: a name that no printer has leaves the
  // current printer and its open job as they are.
  HDC dc = CreateDCA(nullptr, name.c_str(), nullptr, nullptr);
  if (!dc) {
    RuntimeError();
    return;
  }
  TakePrinter(dc);
}

void ReleasePrinter() {
  PrinterState &p = E().printer;
  if (p.dc) {
    FinishJob();
    DeleteDC(p.dc);
  }
  if (p.font) DeleteObject(p.font);
  p = PrinterState{};
}

void ResetPrintPosition() {
  PrinterState &p = E().printer;
  p.x = kLeftMargin;
  p.y = 0;
}
