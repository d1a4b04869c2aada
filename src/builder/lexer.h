// Cuts one source line into tokens: names, numbers, string literals,
// operators and punctuation. A "'" outside a string ends the line (comment).
// The lexer is pulled by the parser, which can also read raw text (label
// names, the rest of a line) from the current place.
#pragma once

#include <string>
#include <string_view>

namespace builder {

enum class Tok {
  kEnd,    // end of line or start of a comment
  kIdent,  // name, keyword or member ".name"
  kNumber, // decimal or &H / &O literal, spelled as written
  kString, // text holds the literal's value (a doubled quote is one quote)
  kOp,     // + - * / \ ^ & = < > <= >= <> =< => ><
  kPunct,  // ( ) , ; : # @ ? *-free punctuation
  kError,  // text holds the message
};

struct Token {
  Tok kind = Tok::kEnd;
  std::string text;  // as written (for kString: the value)
  std::string upper; // kIdent only: upper-cased text
  size_t offset = 0; // byte offset in the line
  size_t end = 0;    // byte offset behind the token

  bool Is(Tok k, std::string_view t) const { return kind == k && text == t; }
  bool IsPunct(char c) const { return kind == Tok::kPunct && text.size() == 1 && text[0] == c; }
  bool IsOp(std::string_view t) const { return kind == Tok::kOp && text == t; }
  bool IsWord(std::string_view upperWord) const {
    return kind == Tok::kIdent && upper == upperWord;
  }
};

class Lexer {
public:
  explicit Lexer(std::string_view line) : line_(line) {}

  const Token &Peek();
  Token Next();
  // The token after the next one.
  Token PeekSecond();
  bool AtEnd() { return Peek().kind == Tok::kEnd; }

  // Byte offset where the next token starts (blanks skipped).
  size_t NextOffset();
  std::string_view Line() const { return line_; }

  // Reads a label name (letters, digits, "_", ".") directly at the next
  // token's place; empty when there is none.
  std::string ReadLabelName();
  // Reads raw text up to a "," or ":" outside quotes or the end of the line
  // (or a comment), without the blanks around it; used for DATA items.
  std::string ReadRawItem(bool &unterminatedQuote);

private:
  Token Scan(size_t &pos) const;
  void SkipBlanks(size_t &pos) const;

  std::string_view line_;
  size_t pos_ = 0;
  bool peeked_ = false;
  Token peek_;
};

bool IsIdentStart(char c);
bool IsIdentChar(char c);

// The size of the character at S[I]: 2 for a lead byte with a successor,
// else 1. A double quote is never taken as a trail byte, so a string or DATA
// item ending in a stray lead byte still ends at its closing quote.
size_t CharSize(std::string_view s, size_t i);

} // namespace builder
