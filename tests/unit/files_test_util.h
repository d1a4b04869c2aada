// An engine whose current directory is a fresh directory, with helpers that
// run the file statements on argument texts as the builder writes them.
#pragma once

#include "engine_fixture.h"

#include <fstream>
#include <iterator>
#include <string>

#include "files/channels.h"
#include "files/file_statements.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "runtime/tokens.h"

class FilesTest : public EngineFixture {
protected:
  void SetUp() override {
    EngineFixture::SetUp();
    dir_ = platform::MakeTempDirectory();
    ASSERT_FALSE(dir_.empty());
    engine_->currentDirectory = platform::ToWindowsPath(dir_) + "\\";
  }
  void TearDown() override {
    CloseAllChannels();
    platform::RemoveTree(dir_);
    EngineFixture::TearDown();
  }

  static std::string As() { return std::string{char(tok::kControl), char(tok::kAs)}; }
  // OPEN "NAME" [for MODE] AS #N.
  void Open(const std::string &name, const std::string &mode, int n) {
    std::string arg =
        "\"" + name + "\"" + (mode.empty() ? "" : " for " + mode) + As() + "#" + std::to_string(n);
    OPEN(arg, kNoThread);
  }
  void Close(std::string arg = "") { CLOSE(arg, kNoThread); }
  void Write(const std::string &name, const std::string &bytes) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
  }
  // The file as a reader by name sees it (the handles write out what they
  // hold back whenever a file is named).
  std::string Read(const std::string &name) {
    platform::FlushPendingWrites();
    std::ifstream in(dir_ + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The next field of channel N; "<error>" after a runtime error.
  std::string Field(int n, bool wholeLine) {
    std::string field;
    if (!ReadChannelField(n, wholeLine, kNoThread, field)) return "<error>";
    return field;
  }

  std::string dir_;
};
