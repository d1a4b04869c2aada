// An engine installed for in-process tests of the evaluators and the store.
// Errors are caught by an error trap, so each test can see whether one was
// reported.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "runtime/engine.h"

class EngineFixture : public ::testing::Test {
protected:
  void SetUp() override {
    engine_ = std::make_unique<Engine>();
    InstallEngine(engine_.get());
    engine_->running.store(1);
    engine_->errorTrap.Set("trap");
  }
  void TearDown() override { InstallEngine(nullptr); }
  // Whether a runtime error was reported since the last call.
  bool TakeError() {
    bool reported = engine_->pendingStatement.NotEmpty();
    engine_->pendingStatement.Clear();
    return reported;
  }
  std::unique_ptr<Engine> engine_;
};
