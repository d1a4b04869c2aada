// ALSA sequencer ports: the hardware and software synthesisers a user has.
// Where there is no sequencer (no /dev/snd/seq, or no libasound) the list
// is empty.
#include "platform/alsa_calls.h"

#include <mutex>

#include "platform/midi_device.h"

namespace platform::midi {
namespace {

struct PortAddress {
  int client = 0;
  int port = 0;
};

// Ports that take MIDI from a subscriber, other than the system's own.
std::vector<PortAddress> ListPorts(snd_seq_t *seq, std::vector<std::string> *names) {
  std::vector<PortAddress> found;
  snd_seq_client_info_t *client;
  snd_seq_port_info_t *port;
  snd_seq_client_info_alloca(&client);
  snd_seq_port_info_alloca(&port);
  int self = snd_seq_client_id(seq);
  snd_seq_client_info_set_client(client, -1);
  while (snd_seq_query_next_client(seq, client) >= 0) {
    int id = snd_seq_client_info_get_client(client);
    if (id == SND_SEQ_CLIENT_SYSTEM || id == self) continue;
    snd_seq_port_info_set_client(port, id);
    snd_seq_port_info_set_port(port, -1);
    while (snd_seq_query_next_port(seq, port) >= 0) {
      unsigned caps = snd_seq_port_info_get_capability(port);
      unsigned type = snd_seq_port_info_get_type(port);
      const unsigned wanted = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
      if ((caps & wanted) != wanted || (caps & SND_SEQ_PORT_CAP_NO_EXPORT)) continue;
      if (!(type & SND_SEQ_PORT_TYPE_MIDI_GENERIC)) continue;
      found.push_back({id, snd_seq_port_info_get_port(port)});
      if (names) names->push_back(snd_seq_port_info_get_name(port));
    }
  }
  return found;
}

snd_seq_t *OpenSequencer() {
  QuietAudioLibraries();
  if (!lazy::Load(lazy::kAlsa)) return nullptr;
  snd_seq_t *seq = nullptr;
  if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) return nullptr;
  return seq;
}

class SequencerPort : public Device {
public:
  SequencerPort(snd_seq_t *seq, int port) : seq_(seq), port_(port) {}
  ~SequencerPort() override { Release(); }
  bool Send(uint8_t status, uint8_t data1, uint8_t data2) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!seq_) return false;
    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80:
      snd_seq_ev_set_noteoff(&ev, channel, data1, data2);
      break;
    case 0x90:
      snd_seq_ev_set_noteon(&ev, channel, data1, data2);
      break;
    case 0xA0:
      snd_seq_ev_set_keypress(&ev, channel, data1, data2);
      break;
    case 0xB0:
      snd_seq_ev_set_controller(&ev, channel, data1, data2);
      break;
    case 0xC0:
      snd_seq_ev_set_pgmchange(&ev, channel, data1);
      break;
    case 0xD0:
      snd_seq_ev_set_chanpress(&ev, channel, data1);
      break;
    case 0xE0:
      snd_seq_ev_set_pitchbend(&ev, channel, (data1 | data2 << 7) - 8192);
      break;
    default:
      return true; // system messages are not passed on
    }
    snd_seq_ev_set_source(&ev, port_);
    snd_seq_ev_set_subs(&ev);
    snd_seq_ev_set_direct(&ev);
    return snd_seq_event_output_direct(seq_, &ev) >= 0;
  }
  bool Close() override {
    Release();
    return true;
  }

private:
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (seq_) snd_seq_close(seq_);
    seq_ = nullptr;
  }
  std::mutex mutex_;
  snd_seq_t *seq_;
  int port_;
};

} // namespace

std::vector<std::string> SequencerPorts() {
  std::vector<std::string> names;
  snd_seq_t *seq = OpenSequencer();
  if (!seq) return names;
  ListPorts(seq, &names);
  snd_seq_close(seq);
  return names;
}

std::unique_ptr<Device> OpenSequencerPort(size_t index) {
  snd_seq_t *seq = OpenSequencer();
  if (!seq) return nullptr;
  std::vector<PortAddress> ports = ListPorts(seq, nullptr);
  if (index >= ports.size()) {
    snd_seq_close(seq);
    return nullptr;
  }
  snd_seq_set_client_name(seq, "Quillrunner");
  int own = snd_seq_create_simple_port(
      seq, "Quillrunner output", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
      SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
  if (own < 0 || snd_seq_connect_to(seq, own, ports[index].client, ports[index].port) < 0) {
    snd_seq_close(seq);
    return nullptr;
  }
  return std::make_unique<SequencerPort>(seq, own);
}

} // namespace platform::midi
