// Lays out the program text: statements separated by ":" and lines ended by
// a line feed, and the position operands in them. A position names the
// terminator in front of a statement (-1, written ffffffff, for the first
// one). Operands whose value is not known yet are written as eight
// placeholder digits and filled in when the program is finished.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace builder {

// Where a piece of source is, for error messages.
struct SourceRef {
  int file = -1;
  int line = 0; // 0-based line index
  size_t offset = 0;
};

// The bytes of one statement and the position operands still to fill in.
struct Code {
  struct Ref {
    size_t offset; // of the eight digits within bytes
    int target;
    SourceRef where;
  };
  std::string bytes;
  std::vector<Ref> refs;

  void Put(std::string_view s) { bytes.append(s); }
  void Put(char c) { bytes.push_back(c); }
  void PutToken(uint8_t first, uint8_t second) {
    bytes.push_back(static_cast<char>(first));
    bytes.push_back(static_cast<char>(second));
  }
  // Eight hexadecimal digits naming TARGET.
  void PutTarget(int target, const SourceRef &where);
  void Append(const Code &other);
  bool Empty() const { return bytes.empty(); }
};

// A position as eight lowercase hexadecimal digits (-1 is ffffffff).
std::string Hex8(int64_t position);
// A position in the shortest "%x" form (-1 is ffffffff).
std::string HexShort(int64_t position);

class ProgramWriter {
public:
  struct Unresolved {
    int target;
    SourceRef where;
  };

  // Where statements come from: every statement begun after SetOrigin is
  // recorded with WHERE; SetOriginEnd gives those records the end offset
  // of their source statement.
  struct Origin {
    int64_t position;
    SourceRef where;
    size_t end;
  };
  void SetOrigin(const SourceRef &where);
  void SetOriginEnd(size_t end);
  const std::vector<Origin> &Origins() const { return origins_; }

  int NewTarget();
  void Bind(int target, int64_t position);
  bool IsBound(int target) const { return targets_[target].bound; }
  int64_t Value(int target) const { return targets_[target].value; }
  // Binds TARGET to the terminator in front of the next statement written
  // (or to the program's last line end when none follows).
  void BindAtNextStatement(int target) { pending_.push_back(target); }

  // Starts a statement on the current line (a ":" when the line already
  // holds one) and returns the position of its first byte.
  int64_t BeginStatement();
  void Write(const Code &code);
  // The position of the byte written next.
  int64_t Size() const { return static_cast<int64_t>(text_.size()); }
  bool LineOpen() const { return lineOpen_; }
  void EndLine();
  // Writes an empty line.
  void WriteEmptyLine();

  // Fills in every operand whose target is bound and returns the text; the
  // operands of unbound targets are listed in UNRESOLVED.
  std::string Finish(std::vector<Unresolved> &unresolved);

private:
  struct Target {
    bool bound = false;
    int64_t value = 0;
  };
  std::string text_;
  std::vector<Target> targets_;
  std::vector<int> pending_;
  std::vector<Code::Ref> refs_;
  bool lineOpen_ = false;
  SourceRef origin_;
  size_t originFirst_ = 0; // the first record of the current origin
  std::vector<Origin> origins_;
};

} // namespace builder
