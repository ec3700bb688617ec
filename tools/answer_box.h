// Answers a message box of the library from another thread, the way a user
// would, while the library waits in MessageBoxA: finds the box by its
// caption, takes its text, and presses a button.
#pragma once

#include <cstdlib>
#include <cstring>
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

// Starts the answering thread that PLENWICK_ANSWER="CAPTION=retry|cancel|ok"
// asks for, for runs without a user; caption and text receive the caption
// and what the box said. No thread when the variable is not set.
inline std::thread AnswerAsAsked(std::string* caption, std::string* text) {
  const char* request = getenv("PLENWICK_ANSWER");
  const char* equals = request ? strchr(request, '=') : nullptr;
  if (!equals) return std::thread();
  *caption = std::string(request, static_cast<size_t>(equals - request));
  std::string answer = equals + 1;
  WPARAM button = answer == "cancel" ? IDCANCEL : answer == "retry" ? IDRETRY : IDOK;
  return AnswerBox(caption->c_str(), button, text);
}

}  // namespace plenwick_host
