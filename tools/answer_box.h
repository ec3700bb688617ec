// Answers a message box of the library from another thread, the way a user
// would, while the library waits in MessageBoxA: finds the box by its
// caption, takes its text, and presses a button.
#pragma once

#include <string>
#include <thread>

#include "platform/win32.h"

namespace plenwick_host {

inline BOOL CALLBACK CollectStaticText(HWND child, LPARAM text) {
  char name[32] = "";
  char buffer[512] = "";
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Static") == 0 && GetWindowTextA(child, buffer, sizeof buffer) > 0) {
    *reinterpret_cast<std::string*>(text) += buffer;
  }
  return TRUE;
}

// Looks for the box for about thirty seconds; text receives what the box
// said (empty when it never came).
inline std::thread AnswerBox(const char* caption, WPARAM button, std::string* text) {
  return std::thread([=] {
    for (int tries = 0; tries < 600; ++tries, Sleep(50)) {
      HWND box = FindWindowA(nullptr, caption);
      if (!box || !IsWindowVisible(box)) continue;
      // A box may be visible before its text is: read it again then.
      text->clear();
      EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(text));
      if (text->empty() && tries < 599) continue;
      PostMessageA(box, WM_COMMAND, button, 0);
      return;
    }
  });
}

}  // namespace plenwick_host
