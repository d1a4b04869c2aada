#include "runtime/settings.h"

#include <cstdint>

#include "platform/win32.h"
#include "runtime/arg_text.h"

int ParseSerialDefaults(const char *text, SerialDefaults &d) {
  int32_t v[7];
  int n = 0;
  const char *p = text;
  while (n < 7 && ScanInt(p, v[n])) {
    ++n;
    // The format's single blanks match any run of white space, as scanf does.
  }
  if (n > 0) d.port = static_cast<uint8_t>(v[0]);
  if (n > 1) d.baudIndex = v[1];
  if (n > 2) d.dataBits = static_cast<uint8_t>(v[2]);
  if (n > 3) d.parity = static_cast<uint8_t>(v[3]);
  if (n > 4) d.stopBits = static_cast<uint8_t>(v[4]);
  if (n > 5) d.xonXoff = static_cast<uint8_t>(v[5]);
  if (n > 6) d.rtsCts = static_cast<uint8_t>(v[6]);
  return n;
}

void ReadSerialDefaults(SerialDefaults &d) {
  HKEY key = 0;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brackenworth\\Quillrunner", 0, KEY_ALL_ACCESS,
                    &key) != ERROR_SUCCESS) {
    d = SerialDefaults{};
    return;
  }
  char buffer[260] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  if (RegQueryValueExA(key, "RS232C", nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size) !=
      ERROR_SUCCESS) {
    d = SerialDefaults{};
  } else {
    buffer[sizeof buffer - 1] = 0;
    ParseSerialDefaults(buffer, d);
  }
  RegCloseKey(key);
}
