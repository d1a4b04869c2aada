#include "builder/lister.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include "builder/lexer.h"
#include "builder/source_text.h"
#include "builder/statement_table.h"
#include "expr/function_codes.h"
#include "runtime/tokens.h"

namespace builder {
namespace {

struct Statement {
  size_t start; // first byte
  size_t end;   // its terminator (or the text's end)
  int line;
};

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Reads up to eight hexadecimal digits as a position (ffffffff is -1).
int64_t ReadHex(std::string_view s, size_t &used) {
  used = 0;
  uint32_t v = 0;
  while (used < s.size() && used < 8 && IsHex(s[used])) {
    char c = s[used];
    v = v * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    ++used;
  }
  return static_cast<int32_t>(v);
}

bool StartsWithNoCase(std::string_view s, std::string_view word) {
  if (s.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if ((s[i] | 0x20) != word[i]) return false;
  return true;
}

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.' || c == '$' || c == '#' || c == '!' || c == '%';
}

class Lister {
public:
  Lister(std::string_view text, const ListOptions &options) : text_(text), options_(options) {}

  std::string Run() {
    Cut();
    Collect();
    collecting_ = true;
    for (const Statement &s : statements_) Render(s);
    collecting_ = false;
    int n = 0;
    for (int64_t p : labelPositions_) labelNames_[p] = "*L" + std::to_string(++n);
    return Emit();
  }

private:
  // ---- cutting, as the run loop does it
  void Cut() {
    size_t start = 0;
    int line = 0;
    bool quote = false;
    size_t i = 0;
    while (i <= text_.size()) {
      char c = i < text_.size() ? text_[i] : '\n';
      bool isIf = i >= start + 2 && text_[start] == '\x10' && text_[start + 1] == '\x25';
      if (c == '"') quote = !quote;
      if (i == text_.size() || c == '\n' || c == '\0' || (c == ':' && !quote && !isIf)) {
        if (i > start || i < text_.size()) statements_.push_back({start, i, line});
        if (i == text_.size() || c == '\0') break;
        if (c == '\n') {
          ++line;
          quote = false;
        }
        start = i + 1;
      }
      ++i;
    }
    // The cut at the text's end adds an empty statement behind the last
    // line end; it is not part of the program.
    if (!statements_.empty() && statements_.back().start == statements_.back().end &&
        statements_.back().end == text_.size())
      statements_.pop_back();
  }

  std::string_view Body(const Statement &s) const { return text_.substr(s.start, s.end - s.start); }

  // ---- what other statements need to know
  void Collect() {
    for (const Statement &s : statements_) {
      std::string_view b = Body(s);
      if (b.size() >= 2 && b[0] == '\x01') {
        uint8_t code = static_cast<uint8_t>(b[1]);
        if (code == tok::kSubRoutine || code == tok::kFuncRoutine) {
          size_t paren = b.find('(');
          if (paren != std::string_view::npos)
            routines_[static_cast<int64_t>(s.start + paren)] = std::string(b.substr(2, paren - 2));
        } else if (code == tok::kType) {
          types_[static_cast<int64_t>(s.start)] = std::string(b.substr(2));
        }
      } else if (b.size() >= 2 && b[0] == '\x10' && b[1] == '\x31') {
        std::string_view a = b.substr(b.size() > 2 && b[2] == ' ' ? 3 : 2);
        size_t blank = a.find(' ');
        std::string_view rest = blank == std::string_view::npos ? "" : a.substr(blank + 1);
        size_t eq = rest.find('=');
        forVars_[static_cast<int64_t>(s.start) - 1] = std::string(rest.substr(0, eq));
      } else if (b.size() >= 2 && b[0] == '\x10' && b[1] == '\x26') {
        std::string_view a = b.substr(b.size() > 2 && b[2] == ' ' ? 3 : 2);
        size_t used;
        int64_t p = ReadHex(a, used);
        if (used == 8) ++doStarts_[p];
      }
    }
  }

  std::string Label(std::string_view hex, size_t *usedOut = nullptr) {
    size_t used;
    int64_t p = ReadHex(hex, used);
    if (usedOut) *usedOut = used;
    if (used == 0) return std::string(hex);
    if (collecting_) {
      labelPositions_.insert(p);
      return "";
    }
    auto it = labelNames_.find(p);
    return it != labelNames_.end() ? it->second : "*?" + std::string(hex.substr(0, used));
  }

  // The size of the character at S[I] of program text: as in source, except
  // that an escape or a token (0x01 and its code) is never a trail byte.
  static size_t StoredCharSize(std::string_view s, size_t i) {
    return i + 1 < s.size() && s[i + 1] == '\x01' ? 1 : CharSize(s, i);
  }

  // ---- rendering of argument text: tokens as words, strings as written
  std::string RenderText(std::string_view s) {
    std::string out;
    size_t i = 0;
    auto word = [&](const std::string &w) {
      if (!out.empty() && IsNameChar(out.back())) out += ' ';
      out += w;
    };
    while (i < s.size()) {
      char c = s[i];
      if (c == '"') {
        out += '"';
        ++i;
        while (i < s.size() && s[i] != '"') {
          if (s[i] == '\x01' && i + 1 < s.size()) {
            char e = s[i + 1];
            if (e == 'z')
              out += "\"\"";
            else if (e == '0')
              out += '\0';
            else if (e == 'y')
              out += ' ';
            else if (e == '\x01')
              out += '\x01';
            else {
              out += '\x01';
              out += e;
            }
            i += 2;
            continue;
          }
          size_t n = StoredCharSize(s, i);
          out.append(s.substr(i, n));
          i += n;
        }
        if (i < s.size()) {
          out += '"';
          ++i;
        }
        continue;
      }
      if (c == '\x01' && i + 1 < s.size()) {
        uint8_t code = static_cast<uint8_t>(s[i + 1]);
        i += 2;
        switch (code) {
        case tok::kAnd:
          word("AND ");
          break;
        case tok::kOr:
          word("OR ");
          break;
        case tok::kXor:
          word("XOR ");
          break;
        case tok::kMod:
          word("MOD ");
          break;
        case tok::kNot:
          word("NOT ");
          break;
        case tok::kThen:
          word("THEN ");
          break;
        case tok::kElse:
          word("ELSE ");
          break;
        case tok::kAs: {
          if (!out.empty() && out.back() != ' ') out += ' ';
          out += "AS ";
          size_t used;
          int64_t p = ReadHex(s.substr(i), used);
          auto it = used == 8 ? types_.find(p) : types_.end();
          if (it != types_.end()) {
            out += it->second;
            i += 8;
          }
          break;
        }
        case tok::kFunction: {
          if (i + 2 > s.size()) break;
          uint16_t f = static_cast<uint16_t>(static_cast<uint8_t>(s[i]) << 8 |
                                             static_cast<uint8_t>(s[i + 1]));
          i += 2;
          if (f == fn::kUserFnCode)
            word("FN ");
          else if (const fn::FunctionInfo *info = fn::FindFunctionByCode(f))
            word(info->name);
          else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "?FN%04x", f);
            word(buf);
          }
          break;
        }
        case tok::kCallSub:
        case tok::kCallValue: {
          size_t sep = s.find('\x02', i);
          if (sep == std::string_view::npos) sep = s.size();
          word(std::string(s.substr(i, sep - i)));
          i = sep < s.size() ? sep + 1 : sep;
          while (i < s.size() && IsHex(s[i])) ++i;
          break;
        }
        default: {
          char buf[16];
          std::snprintf(buf, sizeof buf, "?%02x", code);
          word(buf);
          break;
        }
        }
        continue;
      }
      if (StoredCharSize(s, i) == 2) out += s[i++];
      if (!out.empty() && out.back() == ' ' && c == ' ') {
        ++i;
        continue;
      }
      out += s[i++];
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
  }

  // Finds a control token (0x01 CODE) outside quotes; npos when absent.
  static size_t FindToken(std::string_view s, uint8_t code, size_t from = 0) {
    bool quote = false;
    for (size_t i = from; i < s.size(); ++i) {
      if (s[i] == '"') quote = !quote;
      if (quote || s[i] != '\x01' || i + 1 >= s.size()) continue;
      if (static_cast<uint8_t>(s[i + 1]) == code) return i;
      ++i;
    }
    return std::string_view::npos;
  }

  // The statements of a single-line IF's THEN or ELSE part.
  std::string RenderBranch(std::string_view s) {
    std::string out;
    while (!s.empty()) {
      size_t end = s.size();
      bool nestedIf = s.size() >= 2 && s[0] == '\x10' && s[1] == '\x25';
      if (!nestedIf) {
        bool quote = false;
        for (size_t i = 0; i < s.size(); ++i) {
          if (s[i] == '"') quote = !quote;
          if (!quote && s[i] == ':') {
            end = i;
            break;
          }
          if (!quote && s[i] == '\x01') ++i;
        }
      }
      if (!out.empty()) out += " : ";
      out += RenderStatementText(s.substr(0, end), -1);
      s = end < s.size() ? s.substr(end + 1) : std::string_view();
    }
    return out;
  }

  std::string RenderIf(std::string_view a) {
    // Deeply nested IFs (only in damaged texts) are shown flat.
    if (ifDepth_ > 50) return "IF " + RenderText(a);
    struct DepthGuard {
      int &d;
      ~DepthGuard() { --d; }
    } guard{++ifDepth_ ? ifDepth_ : ifDepth_};
    size_t then = FindToken(a, tok::kThen);
    if (then == std::string_view::npos) return "IF " + RenderText(a);
    std::string out = "IF " + RenderText(a.substr(0, then)) + " THEN";
    std::string_view rest = a.substr(then + 2);
    if (rest.size() >= 2 && rest[0] == '\x01' && static_cast<uint8_t>(rest[1]) == tok::kBlock)
      return out;
    // This IF's ELSE: pair the THENs and ELSEs of nested IFs.
    int depth = 0;
    size_t elsePos = std::string_view::npos;
    bool quote = false;
    for (size_t i = 0; i + 1 < rest.size(); ++i) {
      if (rest[i] == '"') quote = !quote;
      if (quote || rest[i] != '\x01') continue;
      uint8_t c = static_cast<uint8_t>(rest[i + 1]);
      if (c == tok::kThen)
        ++depth;
      else if (c == tok::kElse) {
        if (depth == 0) {
          elsePos = i;
          break;
        }
        --depth;
      }
      ++i;
    }
    std::string_view thenPart = rest.substr(0, elsePos);
    out += " " + RenderBranch(thenPart);
    if (elsePos != std::string_view::npos) out += " ELSE " + RenderBranch(rest.substr(elsePos + 2));
    return out;
  }

  std::string RenderStatementText(std::string_view b, int64_t start) {
    if (b.empty()) return "";
    uint8_t first = static_cast<uint8_t>(b[0]);
    if ((first == 0x10 || first == 0x11) && b.size() >= 2) {
      uint16_t code = static_cast<uint16_t>(first << 8 | static_cast<uint8_t>(b[1]));
      std::string_view a = b.substr(b.size() > 2 && b[2] == ' ' ? 3 : 2);
      const StatementInfo *info = FindStatementByCode(code);
      std::string name = info ? info->name : "?STATEMENT";
      switch (code) {
      case tok::kIF:
        return RenderIf(a);
      case tok::kFOR: {
        size_t blank = a.find(' ');
        return "FOR " + RenderText(blank == std::string_view::npos ? "" : a.substr(blank + 1));
      }
      case tok::kNEXT: {
        size_t used;
        int64_t p = ReadHex(a, used);
        auto it = forVars_.find(p);
        return it == forVars_.end() ? "NEXT" : "NEXT " + it->second;
      }
      case tok::kWHILE:
        return "WHILE " + RenderText(a.size() >= 8 ? a.substr(8) : "");
      case tok::kWEND:
        return "WEND";
      case tok::kLOOP: {
        std::string_view c = a.size() >= 8 ? a.substr(8) : "";
        if (StartsWithNoCase(c, "while")) return "LOOP WHILE " + RenderText(c.substr(5));
        if (StartsWithNoCase(c, "until")) return "LOOP UNTIL " + RenderText(c.substr(5));
        return "LOOP";
      }
      case tok::kGOTO:
      case tok::kGOSUB:
      case tok::kCREATETHREAD:
      case tok::kRESTORE:
      case tok::kRUN:
        return name + " " + Label(a);
      case tok::kON: {
        size_t kw = std::string_view::npos;
        size_t kwLen = 0;
        for (std::string_view w : {std::string_view(" goto "), std::string_view(" gosub ")}) {
          size_t p = a.find(w);
          if (p != std::string_view::npos && p < kw) {
            kw = p;
            kwLen = w.size();
          }
        }
        if (kw == std::string_view::npos) return "ON " + RenderText(a);
        std::string out = "ON " + RenderText(a.substr(0, kw)) + (kwLen == 6 ? " GOTO " : " GOSUB ");
        std::string_view list = a.substr(kw + kwLen);
        bool firstLabel = true;
        while (true) {
          size_t comma = list.find(',');
          std::string_view item = list.substr(0, comma);
          if (!firstLabel) out += ", ";
          firstLabel = false;
          if (!item.empty()) out += Label(item);
          if (comma == std::string_view::npos) break;
          list = list.substr(comma + 1);
        }
        return out;
      }
      case tok::kCHAIN: {
        std::string out = "CHAIN ";
        size_t comma = a.find(',');
        out += Label(a.substr(0, comma));
        if (comma == std::string_view::npos) return out;
        std::string_view rest = a.substr(comma + 1);
        size_t c2 = rest.find(',');
        std::string_view second = rest.substr(0, c2);
        out += ", ";
        if (!second.empty() && !StartsWithNoCase(second, "all"))
          out += Label(second);
        else if (StartsWithNoCase(second, "all"))
          return out + "ALL";
        if (c2 != std::string_view::npos) out += ", ALL";
        return out;
      }
      case tok::kDEF: {
        std::string_view w = a.size() >= 3 ? a.substr(a.size() - 3) : "";
        for (std::string_view t : {"int", "sng", "str", "dbl"})
          if (StartsWithNoCase(w, t))
            return "DEF" +
                   std::string(t == "int"   ? "INT"
                               : t == "sng" ? "SNG"
                               : t == "str" ? "STR"
                                            : "DBL") +
                   " " + std::string(a.substr(0, a.size() - 3));
        return "DEF " + RenderText(a);
      }
      case tok::kDEFFN:
        return "DEF FN " + RenderText(a);
      case tok::kLINE:
        if (StartsWithNoCase(a, "input")) return "LINE INPUT " + RenderText(a.substr(5));
        return "LINE " + RenderText(a);
      default:
        return a.empty() ? name : name + " " + RenderText(a);
      }
    }
    if (first == 0x01 && b.size() >= 2) {
      uint8_t code = static_cast<uint8_t>(b[1]);
      switch (code) {
      case tok::kElse:
        return "ELSE";
      case tok::kElseIfSkip:
        return "";
      case tok::kElseIf: {
        std::string_view a = b.substr(2);
        size_t then = FindToken(a, tok::kThen);
        return "ELSEIF " + RenderText(a.substr(0, then)) + " THEN";
      }
      case tok::kEndIf:
        return "END IF";
      case tok::kSubRoutine:
        return "SUB " + RenderText(b.substr(2));
      case tok::kFuncRoutine:
        return "FUNCTION " + RenderText(b.substr(2));
      case tok::kSubEnd:
        return "END SUB";
      case tok::kSubExit:
        return "EXIT SUB";
      case tok::kFuncEnd:
        return "END FUNCTION";
      case tok::kFuncExit:
        return "EXIT FUNCTION";
      case tok::kType:
        return "TYPE " + std::string(b.substr(2));
      case tok::kEndType:
        return "END TYPE";
      case tok::kJump1:
        return "EXIT FOR";
      case tok::kJump2:
        return "EXIT DO";
      case tok::kJump3:
        return "EXIT WHILE";
      case tok::kCallSub:
        return "CALL " + RenderText(b);
      default:
        break;
      }
    }
    (void)start;
    return RenderText(b);
  }

  std::string Render(const Statement &s) {
    return RenderStatementText(Body(s), static_cast<int64_t>(s.start));
  }

  static int Opens(std::string_view b) {
    if (b.size() < 2) return 0;
    uint8_t a = static_cast<uint8_t>(b[0]), c = static_cast<uint8_t>(b[1]);
    if (a == 0x10 && (c == 0x31 || c == 0x34)) return 1;
    if (a == 0x10 && c == 0x25) return b.find("\x01\x02\x01\x43") != std::string_view::npos;
    if (a == 0x01 && (c == tok::kSubRoutine || c == tok::kFuncRoutine || c == tok::kType)) return 1;
    return 0;
  }
  static bool Closes(std::string_view b) {
    if (b.size() < 2) return false;
    uint8_t a = static_cast<uint8_t>(b[0]), c = static_cast<uint8_t>(b[1]);
    if (a == 0x10 && (c == 0x32 || c == 0x35 || c == 0x26)) return true;
    return a == 0x01 &&
           (c == tok::kEndIf || c == tok::kSubEnd || c == tok::kFuncEnd || c == tok::kEndType);
  }
  static bool Middle(std::string_view b) {
    return b.size() >= 2 && b[0] == '\x01' &&
           (b[1] == tok::kElse || b[1] == tok::kElseIfSkip || b[1] == tok::kElseIf);
  }

  // ---- putting it together
  std::string Emit() {
    std::string out;
    int depth = 0;
    auto indent = [&](int d) { return std::string(static_cast<size_t>(d > 0 ? d : 0) * 2, ' '); };
    auto marks = [&](int64_t p, std::vector<std::string> &items) {
      auto l = labelNames_.find(p);
      if (l != labelNames_.end()) items.push_back(l->second);
      auto d = doStarts_.find(p);
      if (d != doStarts_.end())
        for (int k = 0; k < d->second; ++k) items.push_back("DO");
    };
    size_t i = 0;
    while (i < statements_.size()) {
      int line = statements_[i].line;
      size_t j = i;
      while (j < statements_.size() && statements_[j].line == line) ++j;
      // Labels and DOs in front of the line stand on lines of their own.
      std::vector<std::string> before;
      marks(static_cast<int64_t>(statements_[i].start) - 1, before);
      for (const std::string &m : before) {
        out += indent(depth) + m + "\n";
        if (m == "DO") ++depth;
      }
      std::string text;
      int lineDepth = depth;
      bool firstItem = true;
      for (size_t k = i; k < j; ++k) {
        const Statement &s = statements_[k];
        std::string_view b = Body(s);
        std::vector<std::string> items;
        if (k > i) marks(static_cast<int64_t>(s.start) - 1, items);
        for (const std::string &m : items)
          if (m == "DO") ++depth;
        if (Closes(b) || Middle(b)) {
          --depth;
          if (k == i) lineDepth = depth;
        }
        std::string r = Render(s);
        if (!r.empty()) items.push_back(r);
        if (Opens(b) || Middle(b)) ++depth;
        for (const std::string &m : items) {
          if (!firstItem) text += " : ";
          text += m;
          firstItem = false;
        }
        if (options_.bytes) {
          char head[32];
          std::snprintf(head, sizeof head, "%08x ", static_cast<unsigned>(s.start));
          std::string hex;
          for (size_t q = s.start; q <= s.end && q < text_.size(); ++q) {
            char h[4];
            std::snprintf(h, sizeof h, " %02x", static_cast<uint8_t>(text_[q]));
            hex += h;
          }
          out += head + hex + "\n";
        }
      }
      // LOOPs close DOs: one level per LOOP in the line.
      if (!(options_.bytes && text.empty())) out += indent(lineDepth) + text + "\n";
      i = j;
    }
    std::vector<std::string> after;
    marks(static_cast<int64_t>(text_.size()) - 1, after);
    if (statements_.empty() || statements_.back().end + 1 != text_.size()) after.clear();
    if (statements_.empty()) marks(-1, after);
    for (const std::string &m : after) out += m + "\n";
    return out;
  }

  std::string_view text_;
  ListOptions options_;
  std::vector<Statement> statements_;
  std::map<int64_t, std::string> routines_;
  std::map<int64_t, std::string> types_;
  std::map<int64_t, std::string> forVars_;
  std::map<int64_t, int> doStarts_;
  std::set<int64_t> labelPositions_;
  std::map<int64_t, std::string> labelNames_;
  bool collecting_ = false;
  int ifDepth_ = 0;
};

} // namespace

std::string ListProgram(std::string_view text, const ListOptions &options) {
  Lister lister(text, options);
  std::string listing = lister.Run();
  // Code page 932 bytes can happen to form UTF-8, and a source that does is
  // read as UTF-8: a first comment that is not UTF-8 ("' 日本語" in code page
  // 932) keeps the listing read as it is written.
  if (!options.bytes && LooksLikeUtf8(listing)) listing.insert(0, "' \x93\xFA\x96\x7B\x8C\xEA\n");
  return listing;
}

} // namespace builder
