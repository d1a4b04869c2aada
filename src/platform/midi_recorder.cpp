// The MIDI recorder: every message with the milliseconds since the device
// was opened, written as a Standard MIDI File when it is closed.
#include <chrono>
#include <cstdio>
#include <mutex>

#include "platform/midi_device.h"

namespace platform::midi {
namespace {

void PutBigEndian(std::string &out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A variable-length quantity: seven bits a byte, high bit set on all but the last.
void PutVariable(std::string &out, uint32_t value) {
  char bytes[5];
  int n = 0;
  bytes[n++] = static_cast<char>(value & 0x7F);
  while (value >>= 7) bytes[n++] = static_cast<char>(0x80 | (value & 0x7F));
  while (n > 0) out += bytes[--n];
}

class Recorder : public Device {
public:
  explicit Recorder(std::string path)
      : path_(std::move(path)), start_(std::chrono::steady_clock::now()) {}
  bool Send(uint8_t status, uint8_t data1, uint8_t data2) override {
    auto elapsed = std::chrono::steady_clock::now() - start_;
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({static_cast<uint32_t>(ms), status, data1, data2});
    return true;
  }
  bool Close() override {
    std::string file;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      file = StandardMidiFile(messages_);
    }
    std::FILE *f = std::fopen(path_.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
  }

private:
  std::string path_;
  std::chrono::steady_clock::time_point start_;
  std::mutex mutex_;
  std::vector<TimedMessage> messages_;
};

} // namespace

std::string StandardMidiFile(const std::vector<TimedMessage> &messages) {
  std::string track;
  // Tempo: 1,000,000 microseconds per quarter note at tick 0.
  track += std::string("\x00\xFF\x51\x03\x0F\x42\x40", 7);
  uint32_t previous = 0;
  for (const TimedMessage &m : messages) {
    // System messages have no place in a track (0xFF would read as a meta
    // event, 0xF0 as a system exclusive one).
    if (m.status >= 0xF0 || m.status < 0x80) continue;
    // Times come from a monotonic clock; a message is never earlier than
    // the one before it.
    uint32_t at = m.milliseconds < previous ? previous : m.milliseconds;
    PutVariable(track, at - previous);
    previous = at;
    track += static_cast<char>(m.status);
    int n = DataBytes(m.status);
    if (n >= 1) track += static_cast<char>(m.data1);
    if (n >= 2) track += static_cast<char>(m.data2);
  }
  track += std::string("\x00\xFF\x2F\x00", 4);
  std::string file = "MThd";
  PutBigEndian(file, 6, 4);
  PutBigEndian(file, 0, 2);    // format 0
  PutBigEndian(file, 1, 2);    // one track
  PutBigEndian(file, 1000, 2); // ticks per quarter note
  file += "MTrk";
  PutBigEndian(file, static_cast<uint32_t>(track.size()), 4);
  return file + track;
}

std::unique_ptr<Device> OpenRecorder(const std::string &path) {
  return std::make_unique<Recorder>(path);
}

} // namespace platform::midi
