// midiOut*: the device list, the table of open handles and the short
// messages. The list is the ALSA sequencer ports followed by the built-in
// synthesiser, or the recorder alone when QUILLRUNNER_MIDI_FILE is set.
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/confinement.h"
#include "platform/midi_device.h"
#include "platform/mmsystem.h"

namespace {

using platform::midi::Device;

struct OpenDevice {
  std::mutex mutex; // one message at a time per device
  std::unique_ptr<Device> device;
  uint8_t lastStatus = 0; // for messages sent with running status
};

struct Table {
  std::mutex mutex;
  std::map<HMIDIOUT, std::shared_ptr<OpenDevice>> open;
  HMIDIOUT last = 0x2000;
  bool portsListed = false;
  std::vector<std::string> ports;
};

Table &T() {
  static auto *t = new Table;
  return *t;
}

std::string RecorderPath() {
  const char *path = std::getenv("QUILLRUNNER_MIDI_FILE");
  return path && *path ? path : "";
}

// The ALSA ports, listed once per process so that device numbers stay put.
const std::vector<std::string> &Ports(Table &t) {
  if (!t.portsListed) {
    // A confined program reaches no sound hardware through the sequencer.
    if (!platform::Confined()) t.ports = platform::midi::SequencerPorts();
    t.portsListed = true;
  }
  return t.ports;
}

std::shared_ptr<OpenDevice> Find(HMIDIOUT handle) {
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.open.find(handle);
  return it == t.open.end() ? nullptr : it->second;
}

} // namespace

namespace platform::midi {

int DataBytes(uint8_t status) {
  switch (status & 0xF0) {
  case 0xC0:
  case 0xD0:
    return 1;
  case 0xF0:
    if (status == 0xF1 || status == 0xF3) return 1;
    if (status == 0xF2) return 2;
    return 0;
  default:
    return 2;
  }
}

} // namespace platform::midi

UINT midiOutGetNumDevs() {
  if (!RecorderPath().empty()) return 1;
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  return static_cast<UINT>(Ports(t).size() + 1);
}

MMRESULT midiOutOpen(HMIDIOUT *handle, UINT deviceId, DWORD, DWORD, DWORD) {
  if (!handle) return MMSYSERR_INVALPARAM;
  *handle = 0;
  UINT count = midiOutGetNumDevs();
  // The mapper is the default device: the last one.
  if (deviceId == MIDI_MAPPER) deviceId = count - 1;
  if (deviceId >= count) return MMSYSERR_BADDEVICEID;
  std::unique_ptr<Device> device;
  std::string recorder = RecorderPath();
  if (!recorder.empty()) {
    device = platform::midi::OpenRecorder(recorder);
  } else if (deviceId + 1 == count) {
    device = platform::midi::OpenSynthesizer();
  } else {
    device = platform::midi::OpenSequencerPort(deviceId);
  }
  if (!device) return MMSYSERR_NODRIVER;
  auto entry = std::make_shared<OpenDevice>();
  entry->device = std::move(device);
  Table &t = T();
  std::lock_guard<std::mutex> lock(t.mutex);
  do {
    t.last += 4;
  } while (t.last == 0 || t.open.contains(t.last));
  t.open[t.last] = entry;
  *handle = t.last;
  return MMSYSERR_NOERROR;
}

MMRESULT midiOutShortMsg(HMIDIOUT handle, DWORD message) {
  std::shared_ptr<OpenDevice> entry = Find(handle);
  if (!entry) return MMSYSERR_INVALHANDLE;
  uint8_t bytes[3] = {static_cast<uint8_t>(message), static_cast<uint8_t>(message >> 8),
                      static_cast<uint8_t>(message >> 16)};
  std::lock_guard<std::mutex> lock(entry->mutex);
  if (!entry->device) return MMSYSERR_INVALHANDLE;
  uint8_t status = bytes[0];
  uint8_t data1 = bytes[1], data2 = bytes[2];
  if (status < 0x80) {
    // Running status: the message holds only data bytes.
    if (entry->lastStatus == 0) return MMSYSERR_INVALPARAM;
    data2 = data1;
    data1 = status;
    status = entry->lastStatus;
  } else if (status < 0xF0) {
    entry->lastStatus = status;
  } else if (status < 0xF8) {
    entry->lastStatus = 0; // system common messages cancel running status
  }
  // Data bytes keep to seven bits.
  data1 &= 0x7F;
  data2 &= 0x7F;
  int n = platform::midi::DataBytes(status);
  if (n < 2) data2 = 0;
  if (n < 1) data1 = 0;
  return entry->device->Send(status, data1, data2) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

MMRESULT midiOutReset(HMIDIOUT handle) {
  std::shared_ptr<OpenDevice> entry = Find(handle);
  if (!entry) return MMSYSERR_INVALHANDLE;
  std::lock_guard<std::mutex> lock(entry->mutex);
  if (!entry->device) return MMSYSERR_INVALHANDLE;
  // All notes off on every channel.
  for (uint8_t c = 0; c < 16; ++c) entry->device->Send(static_cast<uint8_t>(0xB0 | c), 123, 0);
  return MMSYSERR_NOERROR;
}

MMRESULT midiOutClose(HMIDIOUT handle) {
  std::shared_ptr<OpenDevice> entry;
  {
    Table &t = T();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.open.find(handle);
    if (it == t.open.end()) return MMSYSERR_INVALHANDLE;
    entry = it->second;
    t.open.erase(it);
  }
  std::lock_guard<std::mutex> lock(entry->mutex);
  bool kept = entry->device->Close();
  entry->device.reset();
  return kept ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}
