#include "builder/program_writer.h"

#include <cstdio>

namespace builder {

std::string Hex8(int64_t position) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(static_cast<uint32_t>(position)));
  return buf;
}

std::string HexShort(int64_t position) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%x", static_cast<unsigned>(static_cast<uint32_t>(position)));
  return buf;
}

void Code::PutTarget(int target, const SourceRef &where) {
  refs.push_back({bytes.size(), target, where});
  bytes.append("????????");
}

void Code::Append(const Code &other) {
  size_t base = bytes.size();
  bytes += other.bytes;
  for (Ref r : other.refs) {
    r.offset += base;
    refs.push_back(r);
  }
}

void ProgramWriter::SetOrigin(const SourceRef &where) {
  origin_ = where;
  originFirst_ = origins_.size();
}

void ProgramWriter::SetOriginEnd(size_t end) {
  for (size_t i = originFirst_; i < origins_.size(); ++i) origins_[i].end = end;
}

int ProgramWriter::NewTarget() {
  targets_.push_back({});
  return static_cast<int>(targets_.size() - 1);
}

void ProgramWriter::Bind(int target, int64_t position) {
  targets_[target].bound = true;
  targets_[target].value = position;
}

int64_t ProgramWriter::BeginStatement() {
  if (lineOpen_) text_.push_back(':');
  lineOpen_ = true;
  int64_t start = Size();
  for (int t : pending_) Bind(t, start - 1);
  pending_.clear();
  if (origin_.file >= 0) origins_.push_back({start, origin_, origin_.offset});
  return start;
}

void ProgramWriter::Write(const Code &code) {
  size_t base = text_.size();
  text_ += code.bytes;
  for (Code::Ref r : code.refs) {
    r.offset += base;
    refs_.push_back(r);
  }
}

void ProgramWriter::EndLine() {
  if (lineOpen_) text_.push_back('\n');
  lineOpen_ = false;
}

void ProgramWriter::WriteEmptyLine() {
  EndLine();
  text_.push_back('\n');
}

std::string ProgramWriter::Finish(std::vector<Unresolved> &unresolved) {
  EndLine();
  for (int t : pending_) Bind(t, Size() - 1);
  pending_.clear();
  for (const Code::Ref &r : refs_) {
    if (!targets_[r.target].bound) {
      unresolved.push_back({r.target, r.where});
      continue;
    }
    std::string digits = Hex8(targets_[r.target].value);
    text_.replace(r.offset, 8, digits);
  }
  return text_;
}

} // namespace builder
