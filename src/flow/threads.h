// The BASIC thread table: 255 slots, each a statement stream with its own
// counters, running its own run loop over the shared program text. Thread
// start and end, the mapping from system threads to slots, and the blocking
// protocol for handlers that wait.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "runtime/program.h"

struct VariableTable;

using ThreadIndex = int;
constexpr ThreadIndex kMaxThreads = 255;
constexpr ThreadIndex kNoThread = 255; // a caller that is no BASIC thread

constexpr int kReturnStackSize = 1024;

struct ReturnEntry {
  ProgramPosition counter = 0;
  uint8_t ifLineFlag = 0;
};

struct StatementCache;

struct ThreadSlot {
  std::atomic<uint32_t> handle{0}; // 0 = free
  std::atomic<uint32_t> id{0};
  std::thread system;                   // joined at program end
  ProgramPosition counter = 0;          // ProgramCounter
  ProgramPosition statementStart = 0;   // first byte of the running statement
  uint8_t ifLineFlag = 0;               // IfLineFlag
  std::atomic<uint8_t> waiting{0};      // blocked outside the lock
  uint8_t nextFlag = 0;                 // NextFlag
  std::vector<ReturnEntry> returnStack; // ReturnStack, allocated on first GOSUB
  int32_t returnDepth = 0;
  std::vector<std::unique_ptr<VariableTable>> scopes; // ScopeStack
  int32_t scopeDepth = -1;                            // -1: no routine running
  VariableTable *local = nullptr;                     // scopes[scopeDepth], or null
  std::unique_ptr<StatementCache> cache;              // made on first use
  ThreadSlot();
  ~ThreadSlot();
  // Makes scope DEPTH (-1: none) the running routine's.
  void SetScopeDepth(int32_t depth) {
    scopeDepth = depth;
    local = depth >= 0 ? scopes[static_cast<size_t>(depth)].get() : nullptr;
  }
};

struct ThreadTable {
  ThreadSlot slots[kMaxThreads];
};

// Unwinds a BASIC thread to its start routine, which then ends it: END 2,
// and waits that program end interrupts.
struct ThreadExit {};

ThreadIndex CurrentThreadIndex();

// The calling system thread's BASIC thread, or null; read on every
// variable access, hence inline.
extern thread_local constinit ThreadSlot *tlsCurrentSlot;

// Makes the calling system thread BASIC thread SLOT (records its id).
void BindCurrentThread(ThreadIndex slot);

// The start routine of a BASIC thread: adjusts the counter, runs the run
// loop and ends the thread. Returns when the thread has ended.
void ThreadStart(ThreadIndex slot);

// Ends the calling BASIC thread (does not return).
[[noreturn]] void ThreadEnd(ThreadIndex slot);

// True while any slot is in use.
bool AnyThreadInUse();

// Joins the system threads of slots that have ended (all, at program end).
void JoinEndedThreads();

// A nonzero 32-bit handle value for a new thread.
uint32_t NewThreadHandle();

// The blocking protocol: marks the thread as waiting, leaves the interpreter
// lock, waits until DONE() holds (checked whenever waiters are woken, and at
// least every POLL) or TIMEOUT passes, then takes the lock again. Program end
// interrupts the wait: the thread then ends (ThreadExit). Returns whether
// DONE() held.
bool BlockingWait(ThreadIndex slot, const std::function<bool()> &done,
                  std::chrono::milliseconds timeout = std::chrono::milliseconds::max());

// Wakes every thread inside BlockingWait to test its condition again.
void WakeWaiters();
