#include "platform/mci_command.h"

#include <cctype>

namespace platform::mci {

std::string Lower(const std::string &text) {
  std::string out = text;
  for (char &c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::optional<uint32_t> Number(const std::string &text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<uint32_t>(v);
}

MCIERROR Parse(const std::string &text, Command &out) {
  out = Command();
  std::vector<std::string> tokens;
  std::vector<bool> quoted;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    std::string token;
    bool wasQuoted = false;
    if (c == '"') {
      size_t close = text.find('"', i + 1);
      if (close == std::string::npos) return MCIERR_NO_CLOSING_QUOTE;
      token = text.substr(i + 1, close - i - 1);
      wasQuoted = true;
      i = close + 1;
    } else {
      size_t end = i;
      while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\r' &&
             text[end] != '\n')
        ++end;
      token = text.substr(i, end - i);
      i = end;
    }
    tokens.push_back(token);
    quoted.push_back(wasQuoted);
  }
  if (tokens.empty()) return MCIERR_MISSING_COMMAND_STRING;
  out.verb = Lower(tokens[0]);
  if (tokens.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  out.device = tokens[1];
  out.words.assign(tokens.begin() + 2, tokens.end());
  out.quoted.assign(quoted.begin() + 2, quoted.end());
  return 0;
}

} // namespace platform::mci
