#include "runtime/loader.h"

#include <cstring>
#include <string>

#include "console/console_font.h"
#include "platform/fileapi.h"
#include "runtime/arg_text.h"
#include "runtime/engine.h"
#include "runtime/messages.h"
#include "runtime/program_image.h"
#include "runtime/reset.h"
#include "runtime/source_map.h"

namespace {

// Reads the payload and its length word from the end of the executable;
// false when the file cannot be read or the payload does not fit it.
// The statement positions of a debug image, between the engine and the
// payload (BACK bytes before the file's end); left empty when there are
// none or they do not fit.
constexpr uint64_t kMaxSourceMap = uint64_t{1} << 30;

void ReadSourceMap(HANDLE file, uint64_t size, uint64_t back, srcmap::SourceMap &map) {
  if (size < back + srcmap::kTrailerSize) return;
  auto readAt = [&](uint64_t fromEnd, std::string &out) {
    int64_t offset = -static_cast<int64_t>(fromEnd);
    LONG distHigh = static_cast<LONG>(offset >> 32);
    SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFF), &distHigh, FILE_END);
    DWORD read = 0;
    return ReadFile(file, out.data(), static_cast<DWORD>(out.size()), &read, nullptr) &&
           read == out.size();
  };
  std::string trailer(srcmap::kTrailerSize, '\0');
  if (!readAt(back + srcmap::kTrailerSize, trailer)) return;
  uint64_t total = srcmap::TrailingLength(trailer);
  if (total == 0 || total > kMaxSourceMap || total > size - back) return;
  std::string bytes(total, '\0');
  if (readAt(back + total, bytes)) srcmap::DecodeTrailing(bytes, map);
}

bool ReadPayload(image::Payload &payload, srcmap::SourceMap &map) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(0, path, MAX_PATH);
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, 0);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  uint64_t size = GetFileSize(file, &high);
  size |= static_cast<uint64_t>(high) << 32;
  bool ok = false;
  uint8_t word[4];
  DWORD read = 0;
  if (size >= 4) {
    LONG distHigh = -1;
    SetFilePointer(file, -4, &distHigh, FILE_END);
    ok = ReadFile(file, word, 4, &read, nullptr) && read == 4;
  }
  if (ok) {
    uint64_t length =
        uint64_t{word[0]} << 24 | uint64_t{word[1]} << 16 | uint64_t{word[2]} << 8 | word[3];
    ok = length + 4 <= size;
    if (ok) {
      std::string tail(length + 4, '\0');
      int64_t back = -static_cast<int64_t>(length + 4);
      LONG distHigh = static_cast<LONG>(back >> 32);
      SetFilePointer(file, static_cast<LONG>(back & 0xFFFFFFFF), &distHigh, FILE_END);
      ok = ReadFile(file, tail.data(), static_cast<DWORD>(tail.size()), &read, nullptr) &&
           read == tail.size() && image::DecodeImage(tail, payload);
      if (ok) ReadSourceMap(file, size, length + 4, map);
    }
  }
  CloseHandle(file);
  return ok;
}

} // namespace

void ReadFontNumbers(const char *text, LOGFONTA &f, int32_t &pointSize) {
  LONG *longs[] = {&f.lfHeight, &f.lfWidth, &f.lfEscapement, &f.lfOrientation, &f.lfWeight};
  BYTE *bytes[] = {&f.lfItalic,       &f.lfUnderline,     &f.lfStrikeOut, &f.lfCharSet,
                   &f.lfOutPrecision, &f.lfClipPrecision, &f.lfQuality,   &f.lfPitchAndFamily};
  const char *p = text;
  int32_t v;
  for (int i = 0; i < 14 && ScanInt(p, v); ++i) {
    if (i < 5)
      *longs[i] = v;
    else if (i < 13)
      *bytes[i - 5] = static_cast<BYTE>(v);
    else
      pointSize = v;
  }
}

void LoadProgramImage(HWND mainWindow) {
  Engine &e = E();
  BindCurrentThread(0);
  image::Payload payload;
  if (e.payloadOverride) {
    payload = *e.payloadOverride;
  } else if (!ReadPayload(payload, e.sourceMap)) {
    e.loadFailed.store(true);
    MessageBoxA(mainWindow, msg::kFileSystemError, msg::kErrorCaption, MB_ICONHAND);
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    e.threads.slots[0].id.store(0);
    e.threads.slots[0].handle.store(0);
    return;
  }
  std::memcpy(e.consoleFont.lfFaceName, payload.faceName.data(), payload.faceName.size());
  e.consoleFont.lfFaceName[payload.faceName.size()] = 0;
  ReadFontNumbers(payload.fontNumbers.c_str(), e.consoleFont, e.printerPointSize);
  if (payload.showFlag == 0) {
    UpdateWindow(mainWindow);
    ShowWindow(mainWindow, SW_SHOW);
    SetForegroundWindow(mainWindow);
  }
  e.program.Load(payload.program);
  payload = image::Payload{};
  // The console font; the input method's composition font is set from the
  // same LOGFONT when the main window gets the focus.
  CreateConsoleFont();
  e.threads.slots[0].ifLineFlag = 0;
  StartOfRunReset();
  e.running.store(1);
  ThreadStart(0);
}
