// The engine's start-up thread: settings, window classes, the main window,
// the interpreter thread and the message loop.
#pragma once

struct Engine;

// Runs one program with ENGINE as its state; returns the process exit
// status: 0 after a normal end, 1 after an error report or an unreadable
// program image.
int ProgramEntry(Engine &engine);

// SIGINT or SIGTERM (SIGNAL) asks the running program to end as a closed
// main window does; ProgramEntry then returns 128 + SIGNAL.
void TerminationRequested(int signal);

// Ends the running program as closing its main window does (any thread; the
// exit status is not changed). Nothing happens before the window exists.
void RequestProgramEnd();
