// CUPS printers: the destinations of the scheduler (CUPS_SERVER or the local
// one), their default media and resolution, and each finished document
// submitted as one PDF job.

#include <algorithm>
#include <strings.h>

#include "platform/cp932.h"
#include "platform/cups_calls.h"
#include "platform/print_internal.h"

namespace platform::print {
namespace {

// The destinations, freed when this goes out of scope.
struct Destinations {
  cups_dest_t *dests = nullptr;
  int count = 0;
  // Without the CUPS library there are no destinations.
  Destinations() {
    if (lazy::Load(lazy::kCups)) count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  }
  ~Destinations() {
    if (dests) cupsFreeDests(count, dests);
  }
  Destinations(const Destinations &) = delete;
  Destinations &operator=(const Destinations &) = delete;
};

constexpr int kDefaultDpi = 600;

// Resolution from the destination's default, else 600 dots per inch; kept
// within what a page of device units can hold.
void ReadResolution(cups_dest_t *dest, cups_dinfo_t *info, PageSetup &setup) {
  if (!info) return;
  ipp_attribute_t *res = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution");
  if (!res || ippGetValueTag(res) != IPP_TAG_RESOLUTION) return;
  int yres = 0;
  ipp_res_t units = IPP_RES_PER_INCH;
  int xres = ippGetResolution(res, 0, &yres, &units);
  if (units == IPP_RES_PER_CM) {
    xres = static_cast<int>(xres * 2.54 + 0.5);
    yres = static_cast<int>(yres * 2.54 + 0.5);
  }
  if (xres >= 72 && xres <= 2400 && yres >= 72 && yres <= 2400) {
    setup.dpiX = xres;
    setup.dpiY = yres;
  }
}

// The default media's size and margins (hundredths of millimetres).
void ReadMedia(cups_dest_t *dest, cups_dinfo_t *info, PageSetup &setup, std::string &media) {
  if (!info) return;
  cups_size_t size{};
  if (!cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &size)) return;
  // Anything from a postcard to A0 is a page we can lay out.
  if (size.width < 5000 || size.length < 5000 || size.width > 120000 || size.length > 120000)
    return;
  auto pt = [](int hundredthsMm) { return hundredthsMm / 2540.0 * 72.0; };
  setup.widthPt = pt(size.width);
  setup.heightPt = pt(size.length);
  setup.leftPt = pt(std::clamp(size.left, 0, size.width / 4));
  setup.rightPt = pt(std::clamp(size.right, 0, size.width / 4));
  setup.topPt = pt(std::clamp(size.top, 0, size.length / 4));
  setup.bottomPt = pt(std::clamp(size.bottom, 0, size.length / 4));
  media = size.media;
}

// Sends PDF as one job named TITLE to the queue NAME.
bool Submit(const std::string &name, const std::string &media, const std::string &title,
            const std::string &pdf) {
  cups_option_t *options = nullptr;
  int count = 0;
  if (!media.empty()) count = cupsAddOption("media", media.c_str(), count, &options);
  int job = cupsCreateJob(CUPS_HTTP_DEFAULT, name.c_str(), title.c_str(), count, options);
  cupsFreeOptions(count, options);
  if (job <= 0) return false;
  bool ok = cupsStartDocument(CUPS_HTTP_DEFAULT, name.c_str(), job, title.c_str(), CUPS_FORMAT_PDF,
                              1) == HTTP_STATUS_CONTINUE;
  if (ok)
    ok = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
  ipp_status_t status = cupsFinishDocument(CUPS_HTTP_DEFAULT, name.c_str());
  if (!ok || status > IPP_STATUS_OK_EVENTS_COMPLETE) {
    if (!ok) cupsCancelJob2(CUPS_HTTP_DEFAULT, name.c_str(), job, 0);
    return false;
  }
  return true;
}

} // namespace

std::vector<PrinterEntry> CupsPrinters() {
  Destinations d;
  std::vector<PrinterEntry> list;
  for (int i = 0; i < d.count; ++i) {
    // Instances (NAME/INSTANCE) are option sets of one queue: list queues.
    if (d.dests[i].instance) continue;
    list.push_back({d.dests[i].name, d.dests[i].is_default != 0});
  }
  return list;
}

std::unique_ptr<PrintDevice> OpenCupsPrinter(const std::string &name) {
  Destinations d;
  cups_dest_t *dest = nullptr;
  for (int i = 0; i < d.count && !dest; ++i)
    if (!d.dests[i].instance && strcasecmp(d.dests[i].name, name.c_str()) == 0) dest = &d.dests[i];
  if (!dest) return nullptr;
  PageSetup setup;
  setup.dpiX = setup.dpiY = kDefaultDpi;
  std::string media;
  cups_dinfo_t *info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
  ReadResolution(dest, info, setup);
  ReadMedia(dest, info, setup, media);
  if (info) cupsFreeDestInfo(info);
  std::string queue = dest->name;
  return MakePdfDevice(setup, [queue, media](const std::string &title, const std::string &pdf) {
    return Submit(queue, media, cp932::ToUtf8(title), pdf);
  });
}

} // namespace platform::print
