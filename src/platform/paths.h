// Windows paths on the Linux file system: drive letters map to directories
// (Z: is "/", C: a per-user directory), "\" and "/" both separate, names are
// code page 932, and a name that does not exist exactly is matched without
// regard to case.
#pragma once

#include <string>

namespace platform {

// The Windows form of a Linux path (UTF-8 in, code page 932 out):
// "/usr/bin/x" -> "Z:\usr\bin\x".
std::string ToWindowsPath(const std::string &unixPath);

// The Linux path of a Windows path (code page 932 in, UTF-8 out). Relative
// paths stay relative (to the process's directory). Each component that does
// not exist exactly is looked up without regard to case. Empty when the drive
// letter has no mapping.
std::string ToUnixPath(const std::string &windowsPath);

// The directory that drive C: maps to ($QUILLRUNNER_DRIVE_C, else
// $XDG_DATA_HOME/quillrunner/drive_c, else ~/.local/share/quillrunner/drive_c).
std::string DriveCDirectory();

} // namespace platform
