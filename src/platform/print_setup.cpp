// The print setup dialog: the printers in a list, the default selected. It
// is answered by the scripted answer provider (headless mode), shown by an
// on-screen display, or takes the default selection; cancel leaves
// everything as it was.
#include <mutex>
#include <strings.h>

#include "platform/commdlg.h"
#include "platform/cp932.h"
#include "platform/display.h"
#include "platform/platform.h"
#include "platform/print_internal.h"
#include "platform/print_setup_dialog.h"

namespace {

std::mutex &ProviderMutex() {
  static auto *m = new std::mutex;
  return *m;
}

platform::PrintSetupAnswerProvider &Provider() {
  static auto *p = new platform::PrintSetupAnswerProvider;
  return *p;
}

// Asks the user on the screen; false when the dialog was cancelled. The
// dialog starts on SELECTED and leaves the printer chosen there.
bool AskOnScreen(HWND owner, const std::vector<platform::print::PrinterEntry> &printers,
                 std::string &selected) {
  std::vector<std::string> names;
  int start = 0;
  for (const auto &p : printers) {
    if (p.name == selected) start = static_cast<int>(names.size());
    names.push_back(cp932::FromUtf8(p.name));
  }
  // The dialog lives on the display's thread; its selection is read here
  // once it has answered.
  auto shown = std::make_shared<std::shared_ptr<platform::PrintSetupDialog>>();
  int answer = platform::Display().RunDialog(
      owner,
      [names, start, shown](std::shared_ptr<const platform::DialogText> font, int w,
                            int h) -> std::shared_ptr<platform::ModalDialog> {
        *shown = std::make_shared<platform::PrintSetupDialog>(std::move(font), names, start, w, h);
        return *shown;
      },
      IDOK);
  if (answer != IDOK) return false;
  // Without a dialog (none could be shown) the default stays selected.
  int index = *shown ? (*shown)->Selected() : start;
  if (index < 0 || index >= static_cast<int>(printers.size())) return false;
  selected = printers[static_cast<size_t>(index)].name;
  return true;
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
  } else if (!selected.empty() && !platform::Display().IsHeadless()) {
    if (!AskOnScreen(dialog->hwndOwner, printers, selected)) return FALSE;
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
