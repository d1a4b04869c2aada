// The state of one running program, grouped so that a test can run many
// programs in one process without one leaking into the next. The engine
// code reaches it through E().
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "console/console_font.h"
#include "console/keyboard_state.h"
#include "data/variables.h"
#include "expr/function_state.h"
#include "files/channel_table.h"
#include "files/printer_state.h"
#include "flow/threads.h"
#include "flow/traps.h"
#include "graphics/graphics_state.h"
#include "graphics/window_table.h"
#include "platform/wingdi.h"
#include "runtime/interpreter_lock.h"
#include "runtime/program.h"
#include "runtime/program_image.h"
#include "runtime/settings.h"
#include "runtime/shared_text.h"
#include "runtime/source_map.h"
#include "sound/music_state.h"
#include "windows/message_queue.h"

struct Engine {
  // Program text and console font (loader).
  Program program;
  srcmap::SourceMap sourceMap; // empty unless the image carries one
  // A payload given in memory (fuzzing, tests) instead of the executable's.
  std::optional<image::Payload> payloadOverride;
  // Statements left to run before the program is ended as if its window
  // were closed; negative: no bound (fuzzing bounds runs with it).
  std::atomic<int64_t> statementBudget{-1};
  LOGFONTA consoleFont;
  ConsoleFont consoleFontState; // the font made from it and its cell
  int32_t printerPointSize = 0;

  // Start-up globals.
  int surfaceWidth = 0;
  int surfaceHeight = 0;
  HINSTANCE instance = 0;
  HWND mainWindow = 0;
  std::string startDirectory; // Windows form, code page 932, ends with "\"
  std::string currentDirectory;
  std::string commandLine; // string text form
  SerialDefaults serial;

  // File channels 1 to 9.
  ChannelTable channels;

  // LPRINT's printer and job.
  PrinterState printer;

  // Read by painting and input echo on the user-interface thread too.
  std::atomic<uint32_t> foreground{0xFFFFFF};
  std::atomic<uint32_t> background{0x000000};
  std::atomic<int> consoleColumnLimit{8192};
  std::atomic<int> consoleLineLimit{8192};

  // Windows: surfaces, console buffers, the current window.
  WindowTable windows;
  // The last point of the drawing statements and the image table.
  GraphicsState graphics;
  // The message queue of each BASIC thread (GETMESSAGE).
  MessageQueues messageQueues;

  // Variables.
  VariableTable globals; // GlobalTable
  DefaultTypes defaultTypes;

  // Random numbers and DEFFN functions.
  FunctionState functions;

  // Execution.
  ThreadTable threads;
  InterpreterLock lock;
  SharedText pendingStatement;      // run by thread 0 after its current statement
  SharedText errorTrap;             // GOTO statement text, empty = no trap
  ProgramPosition dataPosition = 0; // DataPosition: the next DATA item
  EventTraps traps;
  KeyboardState keyboard; // last key, typed line, mouse
  std::atomic<uint8_t> running{0};

  // How the run ended, for the exit status.
  std::atomic<bool> errorReported{false};
  std::atomic<bool> loadFailed{false};
  std::atomic<bool> programEnded{false};

  // PLAY: channel records, the MIDI output, the music threads.
  MusicState music;

  // Waits of the blocking protocol sleep here.
  std::mutex waitMutex;
  std::condition_variable waitCondition;
};

// The engine the calling code works on.
Engine &E();

// Makes ENGINE the current one (null: none).
void InstallEngine(Engine *engine);
