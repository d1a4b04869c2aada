#include "platform/display.h"

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/platform.h"

namespace platform {
namespace {

std::atomic<DisplayDriver *> current{nullptr};

// Every driver ever installed stays alive until the process ends.
std::mutex &RetiredMutex() {
  static auto *m = new std::mutex;
  return *m;
}
std::vector<std::unique_ptr<DisplayDriver>> &Retired() {
  static auto *v = new std::vector<std::unique_ptr<DisplayDriver>>;
  return *v;
}

} // namespace

DisplayDriver &Display() {
  DisplayDriver *d = current.load(std::memory_order_acquire);
  if (d) return *d;
  // First use before Initialize: the headless driver from the environment.
  std::lock_guard<std::mutex> guard(RetiredMutex());
  d = current.load(std::memory_order_acquire);
  if (!d) {
    Retired().push_back(MakeHeadlessDisplay());
    d = Retired().back().get();
    current.store(d, std::memory_order_release);
  }
  return *d;
}

void SetDisplayDriver(std::unique_ptr<DisplayDriver> driver) {
  if (!driver) return;
  std::lock_guard<std::mutex> guard(RetiredMutex());
  DisplayDriver *d = driver.get();
  Retired().push_back(std::move(driver));
  current.store(d, std::memory_order_release);
}

} // namespace platform
