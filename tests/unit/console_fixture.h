// An engine with one window table entry and its console as the current
// window, for in-process console tests. Mirrored output is collected.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "console/console.h"
#include "console/console_buffer.h"
#include "console/console_mirror.h"
#include "runtime/engine.h"

class ConsoleTest : public ::testing::Test {
protected:
  // Odd, so never the handle of a real window.
  static constexpr HWND kWindow = 0x7FFFFFF1;

  void SetUp() override {
    engine_ = std::make_unique<Engine>();
    InstallEngine(engine_.get());
    engine_->running.store(1);
    engine_->surfaceWidth = 1024;
    engine_->surfaceHeight = 768;
    SetConsoleMirrorSink([this](std::string_view s) { mirrored_.append(s); });
    ASSERT_TRUE(engine_->windows.MakeSurface(kWindow, true));
    engine_->windows.SetCurrent(kWindow);
  }
  void TearDown() override {
    SetConsoleMirrorSink({});
    InstallEngine(nullptr);
  }

  ConsoleBuffer &B() { return *buffer(); }
  std::shared_ptr<ConsoleBuffer> buffer() { return engine_->windows.Console(kWindow); }
  std::string Text() { return std::string(B().Text()); }
  // Cells are 8 x 16 pixels with the default font.
  void Client(int width, int height) { B().clientRect = RECT{0, 0, width, height}; }

  std::unique_ptr<Engine> engine_;
  std::string mirrored_;
};
