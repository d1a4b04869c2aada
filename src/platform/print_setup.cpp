// The print setup dialog: the printers in a list, the default selected. It
// is answered by the scripted answer provider (headless mode) or takes the
// default selection; cancel leaves everything as it was.
#include <mutex>
#include <strings.h>

#include "platform/commdlg.h"
#include "platform/platform.h"
#include "platform/print_internal.h"

namespace {

std::mutex &ProviderMutex() {
  static auto *m = new std::mutex;
  return *m;
}

platform::PrintSetupAnswerProvider &Provider() {
  static auto *p = new platform::PrintSetupAnswerProvider;
  return *p;
}

} // namespace

namespace platform {

void SetPrintSetupAnswerProvider(PrintSetupAnswerProvider provider) {
  std::lock_guard<std::mutex> lock(ProviderMutex());
  Provider() = std::move(provider);
}

} // namespace platform

BOOL PrintDlgA(PRINTDLGA *dialog) {
  using namespace platform::print;
  if (!dialog) return FALSE;
  dialog->hDC = 0;
  std::vector<PrinterEntry> printers = ListPrinters();
  // The selection starts on the default printer (the first when none is).
  std::string selected;
  for (const PrinterEntry &p : printers)
    if (p.isDefault) selected = p.name;
  if (selected.empty() && !printers.empty()) selected = printers.front().name;
  platform::PrintSetupAnswerProvider provider;
  {
    std::lock_guard<std::mutex> lock(ProviderMutex());
    provider = Provider();
  }
  if (provider) {
    platform::PrintSetupAnswer answer = provider();
    if (answer.cancel) return FALSE;
    for (const PrinterEntry &p : printers)
      if (!answer.printer.empty() && strcasecmp(p.name.c_str(), answer.printer.c_str()) == 0)
        selected = p.name;
  }
  if (selected.empty()) return FALSE; // no printer to choose
  if (dialog->Flags & PD_RETURNDC) {
    std::unique_ptr<PrintDevice> device = OpenPrinter(selected);
    if (!device) return FALSE;
    PrintDevice *raw = device.get();
    dialog->hDC = platform::MakePrinterDC(std::move(device));
    if (!dialog->hDC) return FALSE;
    RegisterPrinterDevice(dialog->hDC, raw);
  }
  return TRUE;
}
