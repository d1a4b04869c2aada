// Message boxes: the answer is the box's default button unless the scripted
// answer provider (the events file) chooses another button the box has; the
// display driver presents the box.
#include <mutex>

#include "platform/display.h"
#include "platform/platform.h"

namespace {

std::mutex &ProviderMutex() {
  static auto *m = new std::mutex;
  return *m;
}

platform::MessageBoxAnswerProvider &Provider() {
  static auto *p = new platform::MessageBoxAnswerProvider;
  return *p;
}

// The buttons of a box type, in order; the default button picks one of them.
int Buttons(UINT type, int out[3]) {
  switch (type & 0xF) {
  case MB_OKCANCEL:
    out[0] = IDOK, out[1] = IDCANCEL;
    return 2;
  case MB_ABORTRETRYIGNORE:
    out[0] = IDABORT, out[1] = IDRETRY, out[2] = IDIGNORE;
    return 3;
  case MB_YESNOCANCEL:
    out[0] = IDYES, out[1] = IDNO, out[2] = IDCANCEL;
    return 3;
  case MB_YESNO:
    out[0] = IDYES, out[1] = IDNO;
    return 2;
  case MB_RETRYCANCEL:
    out[0] = IDRETRY, out[1] = IDCANCEL;
    return 2;
  default: // MB_OK and unknown types show one OK button
    out[0] = IDOK;
    return 1;
  }
}

} // namespace

namespace platform {

void SetMessageBoxAnswerProvider(MessageBoxAnswerProvider provider) {
  std::lock_guard<std::mutex> lock(ProviderMutex());
  Provider() = std::move(provider);
}

int DefaultMessageBoxAnswer(unsigned type) {
  int buttons[3];
  int count = Buttons(type, buttons);
  int index = 0;
  if (type & MB_DEFBUTTON3) {
    index = 2;
  } else if (type & MB_DEFBUTTON2) {
    index = 1;
  }
  // A default button the box does not have falls back to the first.
  return index < count ? buttons[index] : buttons[0];
}

} // namespace platform

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  std::string textBytes = text ? text : "";
  // Windows shows "Error" when no caption is given.
  std::string captionBytes = caption ? caption : "Error";
  int answer = platform::DefaultMessageBoxAnswer(type);
  platform::MessageBoxAnswerProvider provider;
  {
    std::lock_guard<std::mutex> lock(ProviderMutex());
    provider = Provider();
  }
  if (provider) {
    int chosen = provider(textBytes, captionBytes, type);
    int buttons[3];
    int count = Buttons(type, buttons);
    for (int i = 0; i < count; ++i)
      if (buttons[i] == chosen) answer = chosen;
  }
  return platform::Display().MessageBox(owner, textBytes, captionBytes, type, answer);
}

void MessageBeep(UINT type) {
  platform::Display().Beep(type);
}
