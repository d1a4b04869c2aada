// Inside the printing part of the platform layer: the printers the system
// knows (the file printer or the CUPS destinations), the PDF device they
// print through and where a finished document goes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/print_device.h"
#include "platform/wingdi.h"

namespace platform::print {

using platform::PrintDevice;

// The name of the file printer (QUILLRUNNER_PRINTER_FILE).
inline constexpr const char *kFilePrinterName = "Quillrunner PDF";

struct PrinterEntry {
  std::string name; // UTF-8
  bool isDefault = false;
};

// The page of a printer: resolution, paper size and the printable area
// within it (device units are dots of the resolution).
struct PageSetup {
  int dpiX = 600;
  int dpiY = 600;
  double widthPt = 595.2756;                               // A4
  double heightPt = 841.8898;                              // A4
  double leftPt = 0, topPt = 0, rightPt = 0, bottomPt = 0; // unprintable margins
};

// Receives a finished document: TITLE and the PDF's bytes. False when it
// could not be delivered.
using DocumentSink = std::function<bool(const std::string &title, const std::string &pdf)>;

// Every printer: with QUILLRUNNER_PRINTER_FILE set only the file printer,
// otherwise the CUPS destinations (none when no scheduler answers).
std::vector<PrinterEntry> ListPrinters();
// A device for the printer NAME (UTF-8, letter case ignored); null when no
// such printer exists.
std::unique_ptr<PrintDevice> OpenPrinter(const std::string &name);

// The file printer: the path set, or empty.
std::string FilePrinterPath();
// Where the file printer's N-th document goes: PATH for the first, PATH
// with "-N" before its extension for the others.
std::string NumberedPath(const std::string &path, int n);
// The file printer's documents so far are forgotten: the next one is the
// first again (for tests that run many programs in one process).
void ResetFilePrinterJobs();
std::unique_ptr<PrintDevice> OpenFilePrinter();

// CUPS.
std::vector<PrinterEntry> CupsPrinters();
std::unique_ptr<PrintDevice> OpenCupsPrinter(const std::string &name);

// A device that renders each document as a PDF with SETUP's geometry and
// hands it to SINK at EndDoc.
std::unique_ptr<PrintDevice> MakePdfDevice(const PageSetup &setup, DocumentSink sink);

// The device behind a printer context made by CreateDCA; null for others.
PrintDevice *PrinterDevice(HDC hdc);
// A device registers the context it was given and removes itself when it
// is destroyed.
void RegisterPrinterDevice(HDC hdc, PrintDevice *device);
void UnregisterPrinterDevice(PrintDevice *device);

} // namespace platform::print
