// The serial-port defaults read from the settings store at start-up.
#pragma once

#include <cstdint>

struct SerialDefaults {
  uint8_t port = 1;
  int32_t baudIndex = 6;
  uint8_t dataBits = 8;
  uint8_t parity = 0;
  uint8_t stopBits = 0;
  uint8_t xonXoff = 1;
  uint8_t rtsCts = 0;
};

// Fills DEFAULTS from the value "RS232C" under
// HKEY_CURRENT_USER\Software\Brackenworth\Quillrunner: the built-in defaults
// when the key or value is missing; when fewer than seven numbers match, the
// settings behind the last match keep what they held.
void ReadSerialDefaults(SerialDefaults &defaults);

// Parses the seven numbers of an "RS232C" text as "%d %d %d %d %d %d %d"
// reads them; returns how many matched.
int ParseSerialDefaults(const char *text, SerialDefaults &defaults);
