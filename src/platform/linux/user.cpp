// A message box without a window: written to standard error and answered
// with its safe button.
#include <cstdio>
#include <string>

#include "platform/winapi/winapi.h"

namespace {

constexpr UINT kButtonsMask = 0xF;
constexpr UINT kYesNoCancel = 3;
constexpr UINT kYesNo = 4;
constexpr UINT kAbortRetryIgnore = 2;
constexpr int kIdNo = 7;

// Cancel where the box has it: the work in hand is given up, never the
// process.
int SafeAnswer(UINT type) {
  switch (type & kButtonsMask) {
    case MB_OKCANCEL:
    case MB_RETRYCANCEL:
    case kYesNoCancel:
      return IDCANCEL;
    case kYesNo:
      return kIdNo;
    case kAbortRetryIgnore:
      return IDABORT;
    default:
      return IDOK;
  }
}

const char* AnswerName(int answer) {
  switch (answer) {
    case IDCANCEL:
      return "Cancel";
    case kIdNo:
      return "No";
    case IDABORT:
      return "Abort";
    default:
      return "OK";
  }
}

}  // namespace

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  int answer = SafeAnswer(type);
  // One line: a system message text ends in a line break of its own.
  std::string line = text ? text : "";
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  fprintf(stderr, "%s: %s [%s]\n", caption ? caption : "Error", line.c_str(), AnswerName(answer));
  fflush(stderr);
  return answer;
}
