// The multimedia services under their Win32 names: MIDI output devices and
// the MCI command-string interface.
#pragma once

#include <string>

#include "platform/win32.h"

using MMRESULT = UINT;
using MCIERROR = DWORD;
using HMIDIOUT = uint32_t;
using MCIDEVICEID = UINT;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MIDIERR_NODEVICE = 68;

constexpr UINT MIDI_MAPPER = 0xFFFFFFFF;
constexpr DWORD CALLBACK_NULL = 0;

// ---- MIDI output ----
// The devices: the ALSA sequencer ports that accept MIDI (hardware or
// software synthesisers), then the built-in synthesiser, which is always the
// last. With QUILLRUNNER_MIDI_FILE set there is exactly one device, a
// recorder that writes everything sent to it into that Standard MIDI File
// when it is closed.
UINT midiOutGetNumDevs();
MMRESULT midiOutOpen(HMIDIOUT *handle, UINT deviceId, DWORD callback, DWORD instance, DWORD flags);
// MESSAGE packs status, data 1 and data 2 from the low byte up.
MMRESULT midiOutShortMsg(HMIDIOUT handle, DWORD message);
MMRESULT midiOutReset(HMIDIOUT handle);
MMRESULT midiOutClose(HMIDIOUT handle);

// ---- MCI ----
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = 257;
constexpr MCIERROR MCIERR_UNRECOGNIZED_KEYWORD = 259;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = 261;
constexpr MCIERROR MCIERR_HARDWARE = 262;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = 263;
constexpr MCIERROR MCIERR_OUT_OF_MEMORY = 264;
constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = 266;
constexpr MCIERROR MCIERR_MISSING_COMMAND_STRING = 267;
constexpr MCIERROR MCIERR_PARAM_OVERFLOW = 268;
constexpr MCIERROR MCIERR_BAD_INTEGER = 270;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = 273;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = 274;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = 275;
constexpr MCIERROR MCIERR_OUTOFRANGE = 282;
constexpr MCIERROR MCIERR_DUPLICATE_ALIAS = 289;
constexpr MCIERROR MCIERR_MISSING_DEVICE_NAME = 292;
constexpr MCIERROR MCIERR_BAD_TIME_FORMAT = 293;
constexpr MCIERROR MCIERR_NO_CLOSING_QUOTE = 294;
constexpr MCIERROR MCIERR_INVALID_FILE = 296;
constexpr MCIERROR MCIERR_EXTENSION_NOT_FOUND = 281;

// wParam of MM_MCINOTIFY.
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 0x0001;
constexpr WPARAM MCI_NOTIFY_SUPERSEDED = 0x0002;
constexpr WPARAM MCI_NOTIFY_ABORTED = 0x0004;
constexpr WPARAM MCI_NOTIFY_FAILURE = 0x0008;

// Runs one MCI command ("open FILE type T alias A", "play A from 0 notify",
// "status A mode"...). Text results go to RETURN (RETURN_LENGTH bytes with
// the NUL; may be null). With "notify", MM_MCINOTIFY goes to CALLBACK when
// the command's action ends. 0 on success, else an MCIERR_ code.
MCIERROR mciSendStringA(LPCSTR command, LPSTR returnText, UINT returnLength, HWND callback);

namespace platform {
// The directory (Windows form) that relative media file names are resolved
// against; the process's own directory while none is set.
void SetMediaDirectory(const std::string &windowsDirectory);
} // namespace platform
