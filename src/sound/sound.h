// The statements of the sound and system-services subsystem, and what
// start-up, CLEAR and program end ask of it.
#pragma once

#include <string>

#include "flow/threads.h"

void PLAY(std::string &arg, ThreadIndex slot);
void MCI(std::string &arg, ThreadIndex slot);
void SHELL(std::string &arg, ThreadIndex slot);
void CLIPBOARD(std::string &arg, ThreadIndex slot);
void ENVIRON(std::string &arg, ThreadIndex slot);
void SLEEP(std::string &arg, ThreadIndex slot);

// Clipboard$.
std::string ClipboardFunction(std::string_view args, ThreadIndex slot);

// Octave 4 and tempo 120 on every music channel (ResetRuntime).
void ResetMusicChannels();

// Program end: stops the music and closes the MIDI output and every MCI device.
void CloseMusic();
void CloseMedia();
