#include "console/print.h"

#include <cctype>
#include <vector>

#include "console/console.h"
#include "console/print_using.h"
#include "data/variables.h"
#include "expr/eval.h"
#include "expr/number_text.h"
#include "expr/string_text.h"
#include "files/channels.h"
#include "runtime/arg_text.h"
#include "runtime/runtime_error.h"

namespace {

struct Item {
  std::string text;
  char separator = 0; // ';', ',' or 0 after the last item
};

// Cuts TEXT at ";" and "," outside quotes and parentheses.
std::vector<Item> CutItems(const std::string &text) {
  std::vector<Item> items(1);
  bool inQuotes = false;
  int depth = 0;
  for (char c : text) {
    if (c == '"') inQuotes = !inQuotes;
    if (!inQuotes) {
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if ((c == ';' || c == ',') && depth == 0) {
        items.back().separator = c;
        items.emplace_back();
        continue;
      }
    }
    items.back().text.push_back(c);
  }
  return items;
}

// The name an item starts with: up to an operator, "+" or "&" (and for
// WRITE also "(" or ")").
std::string LeadingName(const std::string &item, bool write) {
  size_t end = 0;
  for (; end < item.size(); ++end) {
    char c = item[end];
    if (c == '^' || c == '*' || c == '/' || c == '\\' || c == '+' || c == '-' || c == '=' ||
        c == '<' || c == '>' || c == '&' || c == 0x01)
      break;
    if (write && (c == '(' || c == ')')) break;
  }
  return item.substr(0, end);
}

// Appends the value of one item: a string's text as it is, a number in
// display form with a leading blank unless it is negative (or, for WRITE, a
// name-led number).
void AppendItem(std::string &line, const std::string &item, bool write) {
  if (item.empty()) return;
  char c = item[0];
  bool numeric;
  bool nameLed = false;
  if (c == '"') {
    numeric = false;
  } else if (std::isdigit(static_cast<uint8_t>(c)) || c == '.' || c == '-' || c == '+') {
    numeric = true;
  } else {
    nameLed = true;
    numeric = KindOf(LeadingName(item, write)) != kString;
  }
  if (!numeric) {
    line += EvalString(item);
    return;
  }
  std::string number = num::FormatG15(EvalNumeric(item));
  num::DisplayNumber(number);
  if (number[0] != '-' && !(write && nameLed)) line.push_back(' ');
  line += number;
}

// A "#n," channel prefix; false when there is none. Reports a bad prefix.
bool TakeChannelPrefix(const std::string &arg, int &channel, size_t &itemsStart, bool &bad) {
  bad = false;
  if (arg.empty() || arg[0] != '#') return false;
  if (arg.size() < 2 || arg[1] < '1' || arg[1] > '9') {
    bad = true;
    return true;
  }
  size_t comma = arg.find(',', 2);
  if (comma == std::string::npos) {
    bad = true;
    return true;
  }
  channel = arg[1] - '0';
  itemsStart = comma + 1;
  while (itemsStart < arg.size() && (arg[itemsStart] == ' ' || arg[itemsStart] == '\t'))
    ++itemsStart;
  return true;
}

bool StartsWithUsing(const std::string &text) {
  return text.size() >= 6 && StartsWithNoCase(text, "using") &&
         (text[5] == '"' || text[5] == ' ' || text[5] == '\t');
}

// The line goes to the channel in one write, with CR LF (disk) or CR
// (serial port) for its final LF.
void WriteToChannel(int channel, const std::string &line) {
  WriteChannelLine(channel, line);
}

} // namespace

std::string PrintText(const std::string &arg, bool wantText) {
  int channel = 0;
  size_t start = 0;
  bool bad;
  bool hasChannel = TakeChannelPrefix(arg, channel, start, bad);
  if (bad || (hasChannel && wantText)) {
    RuntimeError();
    return {};
  }
  std::string items = arg.substr(start);
  std::string line;
  std::string stripped;
  if (StartsWithUsing(items)) {
    stripped = StripBlanks(std::string_view(items).substr(5));
    std::optional<std::string> formatted = FormatUsing(stripped);
    if (!formatted) return {};
    line = std::move(*formatted);
  } else {
    stripped = StripBlanks(items);
    std::vector<Item> list = CutItems(stripped);
    for (size_t i = 0; i < list.size(); ++i) {
      AppendItem(line, list[i].text, false);
      char sep = list[i].separator;
      if (sep == 0) break;
      if (sep == ';' && i + 2 == list.size() && list.back().text.empty()) break;
      line.push_back(sep == ';' ? ' ' : '\t');
    }
  }
  bool endsLine = stripped.empty() || stripped.back() != ';';
  if (endsLine) line.push_back('\n');
  if (wantText) return DecodeString(line, true);
  if (hasChannel) {
    WriteToChannel(channel, line);
    return {};
  }
  ConsoleWrite(line);
  return {};
}

void PRINT(std::string &arg, ThreadIndex) {
  PrintText(arg, false);
}

void WRITE(std::string &arg, ThreadIndex) {
  int channel = 0;
  size_t start = 0;
  bool bad;
  bool hasChannel = TakeChannelPrefix(arg, channel, start, bad);
  if (bad) {
    RuntimeError();
    return;
  }
  std::vector<Item> list = CutItems(arg.substr(start));
  std::string line;
  for (const Item &item : list) {
    size_t lead = item.text.find_first_not_of(" \t");
    AppendItem(line, lead == std::string::npos ? std::string() : item.text.substr(lead), true);
    if (item.separator) line.push_back(',');
  }
  line.push_back('\n');
  if (hasChannel) {
    WriteToChannel(channel, line);
    return;
  }
  ConsoleWrite(line);
}
