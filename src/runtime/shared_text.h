// A statement text shared between threads without the interpreter lock:
// the `PendingStatement` queued for thread 0 (written by any BASIC thread and
// by the user-interface thread; the last writer wins) and the `ErrorTrap`.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

class SharedText {
public:
  void Set(const std::string &statement) {
    std::lock_guard<std::mutex> guard(mutex_);
    text_ = statement;
    queued_.store(!text_.empty(), std::memory_order_release);
  }
  void Clear() { Set(std::string()); }
  // Cheap test for the run loop's hot path.
  bool NotEmpty() const { return queued_.load(std::memory_order_acquire); }
  // A copy of the text.
  std::string Text() {
    std::lock_guard<std::mutex> guard(mutex_);
    return text_;
  }

private:
  std::mutex mutex_;
  std::string text_;
  std::atomic<bool> queued_{false};
};
