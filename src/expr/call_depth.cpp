#include "expr/call_depth.h"

namespace {

thread_local int tlsCallDepth = 0;
thread_local int tlsNesting = 0;

} // namespace

DepthGuard::DepthGuard(DepthKind kind)
    : count_(kind == DepthKind::Call ? tlsCallDepth : tlsNesting),
      entered_(count_ < (kind == DepthKind::Call ? kMaxCallDepth : kMaxCallNesting)) {
  if (entered_) ++count_;
}

DepthGuard::~DepthGuard() {
  if (entered_) --count_;
}

bool NestingRoom() {
  return tlsNesting < kMaxCallNesting;
}
