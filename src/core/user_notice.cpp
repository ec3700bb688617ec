#include "core/user_notice.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

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

}  // namespace plenwick
