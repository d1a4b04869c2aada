#include "runtime/engine.h"

namespace {
Engine *gEngine = nullptr;
}

Engine &E() {
  return *gEngine;
}

void InstallEngine(Engine *engine) {
  gEngine = engine;
}
