#include "platform/event_script.h"

#include <cctype>
#include <cstdlib>

#include "platform/cp932.h"
#include "platform/winuser_input.h"

namespace platform {
namespace {

constexpr LPARAM kKeyDownBits = 1;
constexpr LPARAM kKeyUpBits = static_cast<LPARAM>(0xC0000001u);
constexpr int kMaxWaitMs = 600000;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string> Words(std::string_view s) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) words.emplace_back(s.substr(start, i - start));
  }
  return words;
}

// A decimal integer in [LOW, HIGH].
bool ReadInt(const std::string &word, long low, long high, int &out) {
  if (word.empty() || word.size() > 9) return false;
  size_t i = word[0] == '-' ? 1 : 0;
  if (i == word.size()) return false;
  for (size_t j = i; j < word.size(); ++j)
    if (!std::isdigit(static_cast<unsigned char>(word[j]))) return false;
  long v = std::strtol(word.c_str(), nullptr, 10);
  if (v < low || v > high) return false;
  out = static_cast<int>(v);
  return true;
}

// Bytes of the UTF-8 sequence that LEAD starts (1 for a byte that starts none).
size_t Utf8Length(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

ScriptEvent KeyPress(int vk, int character, bool paced) {
  ScriptEvent e;
  e.paced = paced;
  e.messages.push_back({WM_KEYDOWN, static_cast<WPARAM>(vk), kKeyDownBits});
  if (character >= 0) e.messages.push_back({WM_CHAR, static_cast<WPARAM>(character), kKeyDownBits});
  e.messages.push_back({WM_KEYUP, static_cast<WPARAM>(vk), kKeyUpBits});
  return e;
}

// A key by name: "enter", "left", "f3", "a"...; 0 when unknown.
int VirtualKeyOf(const std::string &name) {
  static const struct {
    const char *name;
    int vk;
  } kNames[] = {{"enter", VK_RETURN},    {"backspace", VK_BACK}, {"tab", VK_TAB},
                {"escape", VK_ESCAPE},   {"space", VK_SPACE},    {"shift", VK_SHIFT},
                {"control", VK_CONTROL}, {"left", VK_LEFT},      {"up", VK_UP},
                {"right", VK_RIGHT},     {"down", VK_DOWN}};
  for (const auto &n : kNames)
    if (name == n.name) return n.vk;
  if (name.size() >= 2 && name[0] == 'f') {
    int n;
    if (ReadInt(name.substr(1), 1, 12, n)) return VK_F1 + n - 1;
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return std::toupper(static_cast<unsigned char>(name[0]));
  return 0;
}

// Typed characters of UTF-8 TEXT, one event per character.
void TypeText(std::string_view text, std::vector<ScriptEvent> &out) {
  size_t i = 0;
  while (i < text.size()) {
    size_t n = Utf8Length(static_cast<uint8_t>(text[i]));
    if (i + n > text.size()) n = text.size() - i;
    std::string bytes = n == 1 && static_cast<uint8_t>(text[i]) < 0x80
                            ? std::string(1, text[i])
                            : cp932::FromUtf8(text.substr(i, n));
    if (bytes.empty()) bytes = "?";
    out.push_back(CharacterKey(bytes));
    i += n;
  }
}

int AnswerOf(const std::string &name) {
  static const struct {
    const char *name;
    int id;
  } kAnswers[] = {{"ok", IDOK},       {"cancel", IDCANCEL}, {"abort", IDABORT},
                  {"retry", IDRETRY}, {"ignore", IDIGNORE}, {"yes", IDYES},
                  {"no", IDNO}};
  for (const auto &a : kAnswers)
    if (name == a.name) return a.id;
  return 0;
}

// Mouse messages of "move", "press", "release" and "click".
bool MouseEvent(const std::vector<std::string> &w, const std::string &verb, ScriptEvent &e) {
  e.kind = ScriptEvent::Kind::kMouse;
  size_t at = 1;
  bool left = true;
  if (verb != "move") {
    if (w.size() < 2) return false;
    std::string button = Lower(w[1]);
    if (button != "left" && button != "right") return false;
    left = button == "left";
    at = 2;
  }
  int x, y;
  if (w.size() != at + 2 || !ReadInt(w[at], -32768, 65535, x) ||
      !ReadInt(w[at + 1], -32768, 65535, y))
    return false;
  LPARAM lp = MAKELPARAM(x, y);
  UINT down = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  UINT up = left ? WM_LBUTTONUP : WM_RBUTTONUP;
  WPARAM held = left ? MK_LBUTTON : MK_RBUTTON;
  if (verb == "move") e.messages.push_back({WM_MOUSEMOVE, 0, lp});
  if (verb == "press" || verb == "click") e.messages.push_back({down, held, lp});
  if (verb == "release" || verb == "click") e.messages.push_back({up, 0, lp});
  return true;
}

// One line without "now"; false when it cannot be read.
bool ParseLine(std::string_view line, std::vector<ScriptEvent> &out) {
  std::vector<std::string> w = Words(line);
  std::string verb = Lower(w[0]);
  if (verb == "text" || verb == "line") {
    // The text starts behind the one blank after the word.
    size_t start = line.find_first_not_of(" \t");
    std::string_view rest = line.substr(start + verb.size());
    if (!rest.empty()) rest.remove_prefix(1);
    TypeText(rest, out);
    if (verb == "line") out.push_back(NamedKey(VK_RETURN));
    return true;
  }
  if (verb == "menu") {
    ScriptEvent e;
    e.kind = ScriptEvent::Kind::kMenu;
    if (w.size() != 2 || !ReadInt(w[1], 0, 65535, e.number)) return false;
    out.push_back(e);
    return true;
  }
  // "click BUTTON X Y" is a mouse click (a button other than left or right
  // is an error); any other "click" names a window.
  int ignored;
  bool mouseClick = verb == "click" && w.size() == 4 && ReadInt(w[2], -32768, 65535, ignored) &&
                    ReadInt(w[3], -32768, 65535, ignored);
  if (verb == "close" || ((verb == "click" || verb == "pick") && w.size() >= 2 && !mouseClick)) {
    ScriptEvent e;
    // The rest of the line, after the word and one blank.
    size_t start = line.find_first_not_of(" \t");
    std::string rest(line.substr(start + verb.size()));
    size_t from = rest.find_first_not_of(" \t");
    rest = from == std::string::npos ? std::string() : rest.substr(from);
    if (verb == "close") {
      e.kind = ScriptEvent::Kind::kClose;
      e.target = cp932::FromUtf8(rest);
      out.push_back(e);
      return true;
    }
    if (verb == "pick") {
      // pick TARGET INDEX: the index is the last word.
      size_t cut = rest.find_last_of(" \t");
      if (cut == std::string::npos || !ReadInt(rest.substr(cut + 1), 0, 0x7FFFFFF, e.number))
        return false;
      rest = rest.substr(0, rest.find_last_not_of(" \t", cut) + 1);
      e.kind = ScriptEvent::Kind::kPickItem;
    } else {
      e.kind = ScriptEvent::Kind::kClickWindow;
    }
    if (rest.empty()) return false;
    // A number names an identifier; a text in double quotes (or any other
    // text) the window's caption.
    if (ReadInt(rest, -32768, 65535, e.id)) {
      e.byId = true;
    } else {
      if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
        rest = rest.substr(1, rest.size() - 2);
      e.target = cp932::FromUtf8(rest);
    }
    out.push_back(e);
    return true;
  }
  if (verb == "move" || verb == "press" || verb == "release" || verb == "click") {
    ScriptEvent e;
    if (!MouseEvent(w, verb, e)) return false;
    out.push_back(e);
    return true;
  }
  if (verb == "answer") {
    ScriptEvent e;
    e.kind = ScriptEvent::Kind::kAnswer;
    if (w.size() != 2 || (e.answer = AnswerOf(Lower(w[1]))) == 0) return false;
    out.push_back(e);
    return true;
  }
  if (verb == "wait") {
    ScriptEvent e;
    if (w.size() != 2) return false;
    if (Lower(w[1]) == "input") {
      e.kind = ScriptEvent::Kind::kWaitInput;
    } else {
      e.kind = ScriptEvent::Kind::kWaitTime;
      if (!ReadInt(w[1], 0, kMaxWaitMs, e.milliseconds)) return false;
    }
    out.push_back(e);
    return true;
  }
  if (verb == "keydown" || verb == "keyup") {
    ScriptEvent e;
    e.kind = ScriptEvent::Kind::kKeyState;
    if (w.size() != 2 || (e.virtualKey = VirtualKeyOf(Lower(w[1]))) == 0) return false;
    e.down = verb == "keydown";
    e.messages.push_back({e.down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(e.virtualKey),
                          e.down ? kKeyDownBits : kKeyUpBits});
    out.push_back(e);
    return true;
  }
  if (w.size() != 1) return false;
  int vk = VirtualKeyOf(verb);
  if (vk >= VK_F1 && vk <= VK_F12) {
    out.push_back(KeyPress(vk, -1, false));
    return true;
  }
  if (vk == VK_SPACE) {
    out.push_back(CharacterKey(" "));
    return true;
  }
  if (vk == VK_RETURN || vk == VK_BACK || vk == VK_TAB || vk == VK_ESCAPE || vk == VK_LEFT ||
      vk == VK_UP || vk == VK_RIGHT || vk == VK_DOWN) {
    out.push_back(NamedKey(vk));
    return true;
  }
  return false;
}

} // namespace

ScriptEvent CharacterKey(std::string_view bytes) {
  ScriptEvent e;
  for (char c : bytes) e.messages.push_back({WM_CHAR, static_cast<uint8_t>(c), kKeyDownBits});
  return e;
}

ScriptEvent NamedKey(int vk) {
  int character = -1;
  if (vk == VK_RETURN) character = '\r';
  if (vk == VK_BACK) character = '\b';
  if (vk == VK_TAB) character = '\t';
  if (vk == VK_ESCAPE) character = 0x1B;
  ScriptEvent e = KeyPress(vk, character, true);
  e.endsLine = vk == VK_RETURN;
  return e;
}

std::vector<ScriptEvent> ParseEventScript(std::string_view text, std::vector<std::string> &errors) {
  std::vector<ScriptEvent> events;
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') continue;
    line.remove_prefix(first);
    bool now = false;
    if (Lower(line.substr(0, 4)) == "now " || Lower(line.substr(0, 4)) == "now\t") {
      now = true;
      line.remove_prefix(4);
      size_t next = line.find_first_not_of(" \t");
      line.remove_prefix(next == std::string_view::npos ? line.size() : next);
    }
    std::vector<ScriptEvent> parsed;
    bool ok = !line.empty() && ParseLine(line, parsed);
    if (ok && now) {
      for (ScriptEvent &e : parsed) {
        if (e.kind != ScriptEvent::Kind::kKey) ok = false;
        e.paced = false;
      }
    }
    if (!ok) {
      errors.push_back("line " + std::to_string(number) + ": cannot read \"" + std::string(line) +
                       "\"");
      continue;
    }
    events.insert(events.end(), parsed.begin(), parsed.end());
  }
  return events;
}

void KeyDecoder::Push(uint8_t byte, std::vector<ScriptEvent> &out) {
  if (afterCr_) {
    afterCr_ = false;
    if (byte == '\n') return; // CR LF is one Enter
  }
  if (!pending_.empty()) {
    bool continues = raw_ ? byte >= 0x40 && byte != 0x7F : (byte & 0xC0) == 0x80;
    if (continues) {
      pending_.push_back(static_cast<char>(byte));
      if (pending_.size() < need_) return;
      std::string bytes = raw_ ? pending_ : cp932::FromUtf8(pending_);
      pending_.clear();
      out.push_back(CharacterKey(bytes.empty() ? "?" : bytes));
      return;
    }
    // A broken character.
    pending_.clear();
    out.push_back(CharacterKey("?"));
  }
  if (byte == '\n' || byte == '\r') {
    afterCr_ = byte == '\r';
    out.push_back(NamedKey(VK_RETURN));
    return;
  }
  if (byte == '\b' || byte == 0x7F) {
    out.push_back(NamedKey(VK_BACK));
    return;
  }
  if (byte == '\t') {
    out.push_back(NamedKey(VK_TAB));
    return;
  }
  if (byte < 0x80) {
    char c = static_cast<char>(byte);
    out.push_back(CharacterKey(std::string_view(&c, 1)));
    return;
  }
  size_t need = raw_ ? (cp932::IsLeadByte(byte) ? 2 : 1) : Utf8Length(byte);
  if (need == 1) {
    char c = raw_ ? static_cast<char>(byte) : '?';
    out.push_back(CharacterKey(std::string_view(&c, 1)));
    return;
  }
  pending_.assign(1, static_cast<char>(byte));
  need_ = need;
}

void KeyDecoder::Finish(std::vector<ScriptEvent> &out) {
  if (!pending_.empty()) out.push_back(CharacterKey("?"));
  pending_.clear();
  afterCr_ = false;
}

} // namespace platform
