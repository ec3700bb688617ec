// Simulated user interface: message boxes (and, as the library grows,
// dialogs, messages and character-set conversion).
#pragma once

#include <string>
#include <vector>

#include "../winapi/user.h"

namespace simwin {

struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;  // "(null)" stands for a null caption
  UINT type;
  int answer;
};
const std::vector<MessageBoxRecord>& MessageBoxes();
// Answers for the next message boxes, in order. Without a queued answer a
// box answers its first button (IDOK, or IDRETRY for Retry/Cancel).
void QueueMessageBoxAnswer(int answer);

void ResetUser();

}  // namespace simwin
