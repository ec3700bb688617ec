// A message box: a dialog of the dialog program when there is a display,
// otherwise (or when the program cannot show it) a line on standard error
// answered with the box's safe button. Either way the line is written, so
// the log of a desktop session holds what the user was asked and answered.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/desktop/dialog_program.h"
#include "platform/ascii.h"
#include "platform/winapi/winapi.h"

namespace {

constexpr UINT kButtonsMask = 0xF;
constexpr UINT kIconMask = 0xF0;
constexpr UINT kDefaultMask = 0xF00;
constexpr UINT kYesNoCancel = 3;
constexpr UINT kYesNo = 4;
constexpr UINT kAbortRetryIgnore = 2;
constexpr UINT kCancelTryContinue = 6;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
constexpr int kIdTryAgain = 10;
constexpr int kIdContinue = 11;

// Cancel where the box has it: the work in hand is given up, never the
// process.
int SafeAnswer(UINT type) {
  switch (type & kButtonsMask) {
    case MB_OKCANCEL:
    case MB_RETRYCANCEL:
    case kYesNoCancel:
    case kCancelTryContinue:
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
    case IDABORT:
      return "Abort";
    case IDRETRY:
      return "Retry";
    case kIdIgnore:
      return "Ignore";
    case kIdYes:
      return "Yes";
    case kIdNo:
      return "No";
    case kIdTryAgain:
      return "Try Again";
    case kIdContinue:
      return "Continue";
    default:
      return "OK";
  }
}

// Whether the answer is one of the buttons the box has.
bool AnswerOf(UINT type, int answer) {
  static const std::vector<int> kButtons[] = {{IDOK},
                                              {IDOK, IDCANCEL},
                                              {IDABORT, IDRETRY, kIdIgnore},
                                              {kIdYes, kIdNo, IDCANCEL},
                                              {kIdYes, kIdNo},
                                              {IDRETRY, IDCANCEL},
                                              {IDCANCEL, kIdTryAgain, kIdContinue}};
  UINT buttons = type & kButtonsMask;
  if (buttons >= sizeof kButtons / sizeof kButtons[0]) return answer == IDOK;
  for (int button : kButtons[buttons]) {
    if (button == answer) return true;
  }
  return false;
}

const char* IconName(UINT type) {
  switch (type & kIconMask) {
    case 0x10:
      return "error";
    case 0x20:
      return "question";
    case 0x30:
      return "warning";
    case 0x40:
      return "information";
    default:
      return "none";
  }
}

// The user's answer from a dialog of the dialog program; 0 when no dialog
// could be shown or it ended without an answer.
int AskUser(const std::string& caption, const std::string& text, UINT type) {
  std::unique_ptr<linux_platform::DialogProgram> program =
      linux_platform::DialogProgram::Start("message");
  if (!program) return 0;
  UINT buttons = type & kButtonsMask;
  if (buttons > kCancelTryContinue) buttons = MB_OK;  // what the box cannot show
  bool sent = program->Send({"caption", caption}) && program->Send({"text", text}) &&
              program->Send({"buttons", std::to_string(buttons)}) &&
              program->Send({"icon", IconName(type)}) &&
              program->Send({"default", std::to_string((type & kDefaultMask) >> 8)}) &&
              program->Send({"close", std::to_string(SafeAnswer(type))}) && program->Send({"show"});
  std::vector<std::string> fields;
  // A message box waits for its user, as long as that takes.
  while (sent && program->Receive(fields, -1)) {
    if (fields.size() == 2 && fields[0] == "answer") {
      int answer = plenwick::LeadingInt(fields[1].c_str());
      return AnswerOf(type, answer) ? answer : 0;
    }
  }
  return 0;
}

}  // namespace

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  // One line: a system message text ends in a line break of its own.
  std::string line = text ? text : "";
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  std::string title = caption ? caption : "Error";
  int answer = AskUser(title, line, type);
  if (answer == 0) answer = SafeAnswer(type);
  fprintf(stderr, "%s: %s [%s]\n", title.c_str(), line.c_str(), AnswerName(answer));
  fflush(stderr);
  return answer;
}
