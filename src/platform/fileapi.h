// Kernel file services under their Win32 names, over POSIX files behind
// Windows paths (see platform/paths.h).
#pragma once

#include "platform/win32.h"

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_FLAG_SEQUENTIAL_SCAN = 0x08000000;
constexpr DWORD FILE_FLAG_RANDOM_ACCESS = 0x10000000;
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr HANDLE INVALID_HANDLE_VALUE = 0xFFFFFFFF;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
constexpr DWORD FILE_TYPE_UNKNOWN = 0;
constexpr DWORD FILE_TYPE_DISK = 1;
constexpr DWORD FILE_TYPE_CHAR = 2;
constexpr DWORD FILE_TYPE_PIPE = 3;

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void *security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void *buffer, DWORD toRead, DWORD *read, void *overlapped);
BOOL WriteFile(HANDLE file, const void *buffer, DWORD toWrite, DWORD *written, void *overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG *distanceHigh, DWORD method);
DWORD GetFileSize(HANDLE file, DWORD *sizeHigh);
// DISK for a regular file, PIPE for a pipe or socket, CHAR for a device or
// serial port; UNKNOWN for a handle that is not open.
DWORD GetFileType(HANDLE file);
BOOL CloseHandle(HANDLE handle);

// Directory searches. The pattern's last component may hold "*" and "?",
// matched without regard to case; entries come in name order (letters
// compared without case), "." and ".." first except at a drive's root.
// Directories have FILE_ATTRIBUTE_DIRECTORY, plain files
// FILE_ATTRIBUTE_ARCHIVE; names starting with "." are also hidden, files
// the owner cannot write also read-only.
struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes = 0;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;
  DWORD dwReserved0 = 0;
  DWORD dwReserved1 = 0;
  char cFileName[260] = {};
  char cAlternateFileName[14] = {};
};

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA *data);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA *data);
BOOL FindClose(HANDLE search);

// File operations. Like Windows, deleting or renaming a file that a handle
// of this process holds open fails.
BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists);
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
BOOL MoveFileA(LPCSTR existing, LPCSTR target); // fails when TARGET exists
// With MOVEFILE_REPLACE_EXISTING an existing file TARGET is replaced in one
// step.
BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags);
BOOL DeleteFileA(LPCSTR path);
BOOL CreateDirectoryA(LPCSTR path, void *security);
