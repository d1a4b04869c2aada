// Printer contexts: CreateDCA by printer name, the document and page calls,
// and EnumPrintersA over the printers the system knows.
#include <cstring>
#include <map>
#include <mutex>
#include <strings.h>

#include "platform/confinement.h"
#include "platform/cp932.h"
#include "platform/print_internal.h"
#include "platform/winspool.h"

namespace platform::print {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<HDC, PrintDevice *> devices;
};

Registry &R() {
  static auto *r = new Registry;
  return *r;
}

} // namespace

void RegisterPrinterDevice(HDC hdc, PrintDevice *device) {
  std::lock_guard<std::mutex> lock(R().mutex);
  R().devices[hdc] = device;
}

void UnregisterPrinterDevice(PrintDevice *device) {
  std::lock_guard<std::mutex> lock(R().mutex);
  for (auto it = R().devices.begin(); it != R().devices.end();) {
    if (it->second == device)
      it = R().devices.erase(it);
    else
      ++it;
  }
}

PrintDevice *PrinterDevice(HDC hdc) {
  std::lock_guard<std::mutex> lock(R().mutex);
  auto it = R().devices.find(hdc);
  return it == R().devices.end() ? nullptr : it->second;
}

std::vector<PrinterEntry> ListPrinters() {
  if (!FilePrinterPath().empty()) return {{kFilePrinterName, true}};
  if (Confined()) return {};
  return CupsPrinters();
}

std::unique_ptr<PrintDevice> OpenPrinter(const std::string &name) {
  if (!FilePrinterPath().empty())
    return strcasecmp(name.c_str(), kFilePrinterName) == 0 ? OpenFilePrinter() : nullptr;
  if (name.empty() || Confined()) return nullptr;
  return OpenCupsPrinter(name);
}

} // namespace platform::print

using namespace platform::print;

HDC CreateDCA(LPCSTR, LPCSTR device, LPCSTR, const void *) {
  if (!device) return 0;
  std::unique_ptr<PrintDevice> printer = OpenPrinter(cp932::ToUtf8(device));
  if (!printer) return 0;
  PrintDevice *raw = printer.get();
  HDC hdc = platform::MakePrinterDC(std::move(printer));
  if (hdc) RegisterPrinterDevice(hdc, raw);
  return hdc;
}

int StartDocA(HDC hdc, const DOCINFOA *doc) {
  PrintDevice *device = PrinterDevice(hdc);
  if (!device || !doc) return -1;
  return device->StartDoc(doc->lpszDocName ? doc->lpszDocName : "");
}

int StartPage(HDC hdc) {
  PrintDevice *device = PrinterDevice(hdc);
  return device ? device->StartPage() : -1;
}

int EndPage(HDC hdc) {
  PrintDevice *device = PrinterDevice(hdc);
  return device ? device->EndPage() : -1;
}

int EndDoc(HDC hdc) {
  PrintDevice *device = PrinterDevice(hdc);
  return device ? device->EndDoc() : -1;
}

BOOL EnumPrintersA(DWORD flags, LPSTR, DWORD level, BYTE *buffer, DWORD size, DWORD *needed,
                   DWORD *returned) {
  if (needed) *needed = 0;
  if (returned) *returned = 0;
  if (level != 5) return FALSE;
  std::vector<PrinterEntry> all = ListPrinters();
  std::vector<PrinterEntry> chosen;
  for (const PrinterEntry &p : all)
    if (!(flags & PRINTER_ENUM_DEFAULT) || p.isDefault) chosen.push_back(p);
  // Records first, then their strings (names in code page 932, port "").
  std::vector<std::string> names;
  size_t total = chosen.size() * sizeof(PRINTER_INFO_5A);
  for (const PrinterEntry &p : chosen) {
    names.push_back(cp932::FromUtf8(p.name));
    total += names.back().size() + 1 + 1;
  }
  if (needed) *needed = static_cast<DWORD>(total);
  if (total > size || (total > 0 && !buffer)) return chosen.empty() ? TRUE : FALSE;
  auto *records = reinterpret_cast<PRINTER_INFO_5A *>(buffer);
  char *strings = reinterpret_cast<char *>(buffer) + chosen.size() * sizeof(PRINTER_INFO_5A);
  for (size_t i = 0; i < chosen.size(); ++i) {
    PRINTER_INFO_5A record;
    std::memcpy(strings, names[i].c_str(), names[i].size() + 1);
    record.pPrinterName = strings;
    strings += names[i].size() + 1;
    *strings = 0;
    record.pPortName = strings++;
    record.Attributes =
        PRINTER_ATTRIBUTE_LOCAL | (chosen[i].isDefault ? PRINTER_ATTRIBUTE_DEFAULT : 0);
    std::memcpy(&records[i], &record, sizeof record);
  }
  if (returned) *returned = static_cast<DWORD>(chosen.size());
  return TRUE;
}
