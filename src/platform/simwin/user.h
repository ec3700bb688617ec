// Simulated user interface: message boxes (and, as the library grows,
// dialogs, messages and character-set conversion).
#pragma once

#include <string>
#include <vector>

#include "types.h"

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

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
