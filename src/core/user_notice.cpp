#include "core/user_notice.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/debug_log.h"
#include "platform/handles.h"
#include "platform/win32.h"

namespace plenwick {

void TellUser(const char* format, ...) {
  static const char kPrefix[] = "plenwick: ";
  char line[kUserNoticeCapacity];
  size_t prefix = sizeof(kPrefix) - 1;
  memcpy(line, kPrefix, prefix);
  // Room is kept for the line end and the terminator whatever the words.
  size_t room = sizeof(line) - prefix - 1;
  va_list args;
  va_start(args, format);
  int written = vsnprintf(line + prefix, room, format, args);
  va_end(args);
  size_t length = prefix;
  if (written > 0)
    length += static_cast<size_t>(written) < room ? static_cast<size_t>(written) : room - 1;
  line[length++] = '\n';
  line[length] = '\0';
  OutputDebugStringA(line);
}

void TellNotPrinted(const char* fileName, const char* format, ...) {
  char why[kUserNoticeCapacity];
  va_list args;
  va_start(args, format);
  vsnprintf(why, sizeof why, format, args);
  va_end(args);
  TellUser("%s not printed: %s", fileName, why);
}

std::string SystemErrorText(DWORD error) {
  UniqueLocal said;
  if (error == ERROR_SUCCESS ||
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<LPSTR>(said.put()), 0, nullptr) == 0 ||
      !said.get()) {
    return "";
  }
  std::string words = static_cast<const char*>(said.get());
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ')) {
    words.pop_back();
  }
  return words;
}

bool WindowStationVisible() {
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  // A station that cannot be asked is taken as a desktop's, as it always was.
  if (!GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                 &needed)) {
    return true;
  }
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

int ShowMessageBox(bool windowsShown, const char* text, const char* caption, UINT type) {
  if (windowsShown) return MessageBoxA(nullptr, text, caption, type);
  // Windows' own caption for a box without one.
  const char* title = caption ? caption : "Error";
  std::string words = text ? text : "";
  // A system message ends with a line end of its own.
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r')) words.pop_back();
  bool cancels = (type & 0xF) == MB_RETRYCANCEL || (type & 0xF) == MB_OKCANCEL;
  DebugLog("no window shown: %s: %s [%s]\n", title, words.c_str(), cancels ? "Cancel" : "OK");
  TellUser("%s: %s", title, words.c_str());
  return cancels ? IDCANCEL : IDOK;
}

}  // namespace plenwick
