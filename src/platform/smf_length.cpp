// The playing time of a Standard MIDI File from its own tempo map: when its
// last event happens. (A synthesiser's rendering goes on while notes die
// away, which is no part of the piece.)
#include "platform/smf_length.h"

#include <algorithm>
#include <map>

namespace platform::midi {
namespace {

struct Reader {
  const std::string &bytes;
  size_t at;
  size_t end;
  bool ok = true;
  uint32_t Byte() {
    if (at >= end) {
      ok = false;
      return 0;
    }
    return static_cast<uint8_t>(bytes[at++]);
  }
  uint32_t BigEndian(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | Byte();
    return v;
  }
  uint32_t Variable() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      uint32_t b = Byte();
      v = v << 7 | (b & 0x7F);
      if (!(b & 0x80)) return v;
    }
    ok = false;
    return v;
  }
  void Skip(uint32_t n) {
    if (n > end - at) {
      ok = false;
      at = end;
    } else {
      at += n;
    }
  }
};

int DataBytesOf(uint32_t status) {
  uint32_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

} // namespace

std::optional<uint32_t> StandardMidiFileLength(const std::string &bytes) {
  Reader header{bytes, 0, bytes.size()};
  if (bytes.compare(0, 4, "MThd") != 0) return std::nullopt;
  header.Skip(4);
  uint32_t headerLength = header.BigEndian(4);
  if (!header.ok || headerLength < 6) return std::nullopt;
  header.BigEndian(2); // format
  uint32_t tracks = header.BigEndian(2);
  uint32_t division = header.BigEndian(2);
  if (!header.ok || division == 0) return std::nullopt;
  header.at = 8 + headerLength;
  if (header.at > bytes.size()) return std::nullopt;

  std::map<uint64_t, uint32_t> tempos; // tick -> microseconds per quarter note
  uint64_t lastTick = 0;
  size_t at = header.at;
  for (uint32_t t = 0; t < tracks && at + 8 <= bytes.size(); ++t) {
    if (bytes.compare(at, 4, "MTrk") != 0) return std::nullopt;
    Reader chunk{bytes, at + 4, bytes.size()};
    uint32_t length = chunk.BigEndian(4);
    if (length > bytes.size() - chunk.at) return std::nullopt;
    Reader r{bytes, chunk.at, chunk.at + length};
    at = chunk.at + length;
    uint64_t tick = 0;
    uint32_t running = 0;
    while (r.ok && r.at < r.end) {
      tick += r.Variable();
      uint32_t status = r.Byte();
      if (status == 0xFF) {
        uint32_t type = r.Byte();
        uint32_t n = r.Variable();
        if (type == 0x51 && n == 3) {
          size_t valueAt = r.at;
          uint32_t tempo = r.BigEndian(3);
          r.at = valueAt;
          if (tempo > 0) tempos[tick] = tempo;
        }
        r.Skip(n);
        if (type == 0x2F) break;
      } else if (status == 0xF0 || status == 0xF7) {
        r.Skip(r.Variable());
      } else {
        int data = 0;
        if (status & 0x80) {
          running = status;
          data = DataBytesOf(status);
        } else {
          if (!running) return std::nullopt;
          data = DataBytesOf(running) - 1; // this byte was the first data byte
        }
        r.Skip(static_cast<uint32_t>(data));
      }
      if (r.ok) lastTick = std::max(lastTick, tick);
    }
    if (!r.ok) return std::nullopt;
  }

  double microseconds = 0;
  if (division & 0x8000) {
    // SMPTE time: frames per second times ticks per frame.
    int fps = -static_cast<int8_t>(division >> 8);
    int perFrame = static_cast<int>(division & 0xFF);
    if (fps <= 0 || perFrame <= 0) return std::nullopt;
    microseconds = static_cast<double>(lastTick) * 1e6 / (fps * perFrame);
  } else {
    uint64_t tick = 0;
    uint32_t tempo = 500000;
    for (auto [change, value] : tempos) {
      if (change >= lastTick) break;
      microseconds += static_cast<double>(change - tick) * tempo / division;
      tick = change;
      tempo = value;
    }
    microseconds += static_cast<double>(lastTick - tick) * tempo / division;
  }
  double ms = microseconds / 1000.0;
  if (ms > 4294967295.0) return std::nullopt;
  return static_cast<uint32_t>(ms + 0.5);
}

} // namespace platform::midi
