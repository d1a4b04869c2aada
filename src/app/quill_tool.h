// Shared pieces of the quill tool's subcommands.
#pragma once

#include <string>
#include <vector>

#include "runtime/program_image.h"

namespace quill {

using Args = std::vector<std::string>;

// quill pack TEXTFILE -o PROG [--font-face F] [--font "14 numbers"] [--hidden]
int CmdPack(const Args &args);
// quill build SRC... -o PROG [font options]
int CmdBuild(const Args &args);
// quill run SRC... [-- ARGS]
int CmdRun(const Args &args);
// quill list PROG [--bytes]
int CmdList(const Args &args);
// quill check SRC...
int CmdCheck(const Args &args);

// The engine executable that images are made from: quillrunner beside quill.
std::string EnginePath();

// Takes the console font and show options out of ARGS (--font-face F,
// --font "N ... N", --hidden) into PAYLOAD; false with a message on bad use.
bool TakeImageOptions(Args &args, image::Payload &payload, std::string &error);

// Writes PAYLOAD as a temporary image, runs it with PROGRAM_ARGS and the
// current directory as its start directory, removes it, and returns the
// program's exit status.
// SOURCE_MAP (encoded) lets runtime errors name their source statement.
int RunPayload(const image::Payload &payload, const std::string &name, const Args &programArgs,
               const std::string &sourceMap = std::string());

// Reads a whole file; false when it cannot be read.
bool ReadFile(const std::string &path, std::string &out);

} // namespace quill
