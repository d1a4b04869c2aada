// A printer as the GDI sees it: a device that a printer context forwards its
// document, page and text calls to. The printing code makes one per job and
// hands it to MakePrinterDC; the context owns it from then on.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/wingdi.h"

namespace platform {

class PrintDevice {
public:
  virtual ~PrintDevice() = default;
  // GetDeviceCaps for this printer (HORZRES, LOGPIXELSX, PHYSICALWIDTH...).
  virtual int GetDeviceCaps(int index) = 0;
  // Each returns a positive value on success and 0 or less on failure, as
  // the Win32 calls that forward to them do.
  virtual int StartDoc(const std::string &name) = 0;
  virtual int StartPage() = 0;
  virtual int EndPage() = 0;
  virtual int EndDoc() = 0;
  // TEXT is code page 932, (X, Y) the top-left corner of its cell in device
  // units. OPAQUE asks for the cell background filled with BACK first.
  virtual bool TextOut(int x, int y, std::string_view text, const LOGFONTA &font, COLORREF colour,
                       bool opaque, COLORREF back) = 0;
};

// A device context of the printer kind that forwards to DEVICE; 0 when
// DEVICE is null. DeleteDC destroys the device.
HDC MakePrinterDC(std::unique_ptr<PrintDevice> device);

} // namespace platform
