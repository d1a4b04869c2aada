#include "sound_test_util.h"

#include <fstream>

namespace soundtest {
namespace {

uint32_t Big(const std::string &b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
  return v;
}

void PutLittle(std::string &out, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

MidiFile ReadMidiFile(const std::string &b) {
  MidiFile f;
  if (b.size() < 22 || b.compare(0, 4, "MThd") != 0 || Big(b, 4, 4) != 6) {
    f.problem = "no header";
    return f;
  }
  f.format = static_cast<uint16_t>(Big(b, 8, 2));
  f.tracks = static_cast<uint16_t>(Big(b, 10, 2));
  f.division = static_cast<uint16_t>(Big(b, 12, 2));
  if (b.compare(14, 4, "MTrk") != 0) {
    f.problem = "no track";
    return f;
  }
  size_t length = Big(b, 18, 4);
  if (22 + length != b.size()) {
    f.problem = "track length does not match the file";
    return f;
  }
  size_t i = 22;
  uint32_t tick = 0;
  auto byte = [&](uint8_t &out) {
    if (i >= b.size()) return false;
    out = static_cast<uint8_t>(b[i++]);
    return true;
  };
  while (i < b.size()) {
    uint32_t delta = 0;
    uint8_t c;
    do {
      if (!byte(c)) {
        f.problem = "cut delta";
        return f;
      }
      delta = delta << 7 | (c & 0x7F);
    } while (c & 0x80);
    tick += delta;
    uint8_t status;
    if (!byte(status)) {
      f.problem = "cut event";
      return f;
    }
    if (status == 0xFF) {
      uint8_t type, len;
      if (!byte(type) || !byte(len) || i + len > b.size()) {
        f.problem = "cut meta event";
        return f;
      }
      if (type == 0x51 && len == 3 && tick == 0) f.tempo = Big(b, i, 3);
      i += len;
      if (type == 0x2F) {
        f.endOfTrack = true;
        if (i != b.size()) {
          f.problem = "bytes after the end of the track";
          return f;
        }
      }
      continue;
    }
    if (status < 0x80 || status >= 0xF0) {
      f.problem = "running status or system message";
      return f;
    }
    MidiEvent e;
    e.tick = tick;
    e.status = status;
    if (!byte(e.data1)) return f;
    uint8_t kind = status & 0xF0;
    if (kind != 0xC0 && kind != 0xD0 && !byte(e.data2)) return f;
    if (e.data1 > 0x7F || e.data2 > 0x7F) {
      f.problem = "data byte with the high bit";
      return f;
    }
    f.events.push_back(e);
  }
  f.ok = f.endOfTrack;
  if (!f.ok) f.problem = "no end of track";
  return f;
}

std::string MakeWav(int milliseconds, int rate) {
  uint32_t frames = static_cast<uint32_t>(static_cast<int64_t>(rate) * milliseconds / 1000);
  std::string data;
  for (uint32_t k = 0; k < frames; ++k) {
    int16_t v = (k / 25) % 2 ? 8000 : -8000;
    PutLittle(data, static_cast<uint16_t>(v), 2);
  }
  std::string w = "RIFF";
  PutLittle(w, static_cast<uint32_t>(36 + data.size()), 4);
  w += "WAVEfmt ";
  PutLittle(w, 16, 4);
  PutLittle(w, 1, 2); // PCM
  PutLittle(w, 1, 2); // mono
  PutLittle(w, static_cast<uint32_t>(rate), 4);
  PutLittle(w, static_cast<uint32_t>(rate * 2), 4);
  PutLittle(w, 2, 2);
  PutLittle(w, 16, 2);
  w += "data";
  PutLittle(w, static_cast<uint32_t>(data.size()), 4);
  return w + data;
}

testsupport::RunResult RunSource(const std::string &dir, const std::string &name,
                                 const std::string &source, const std::string &env, int seconds) {
  std::string path = dir + "/" + name + ".bas";
  std::ofstream(path, std::ios::binary) << source;
  // The program's current directory is DIR.
  std::string command = "sh -c \"cd '" + dir + "' && exec env " + env + " '" +
                        std::string(QUILL_BINARY_DIR) + "/quill' run '" + path + "'\"";
  return testsupport::RunCommand(command, "", seconds);
}

} // namespace soundtest
