// Helpers for tests that run the real binaries: build program texts, pack
// them into images with the real engine, run them headless and collect what
// they did.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct RunResult {
  int status = -1; // exit status; 128+n after signal n; 124 after the time limit
  std::string out;
  std::string err;
};

// A fresh directory under the build tree for one test's files.
std::string TempDir(const std::string &name);

// Writes an image of PROGRAM (raw program text) to PATH with the engine of
// this build. Returns false with a message on failure.
bool Pack(const std::string &program, const std::string &path, unsigned char showFlag = 0);

// Runs a command line (already quoted for the shell) headless with an
// optional stdin text and time limit.
RunResult RunCommand(const std::string &command, const std::string &input = "", int seconds = 20);

// Packs PROGRAM and runs it.
RunResult RunProgram(const std::string &program, const std::string &name);

std::string ReadAll(const std::string &path);

// What the shell command line COMMAND writes on stdout (a pipeline may
// stand there); empty when it cannot be started.
std::string CommandOutput(const std::string &command);

// Program text builders: a statement token with its argument, a control
// token, and an 8-digit position operand.
std::string Stmt(unsigned code, const std::string &arg = "");
std::string Ctl(unsigned char code);
std::string Pos(unsigned position);

} // namespace testsupport
