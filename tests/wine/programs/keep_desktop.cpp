// Keeps Wine's desktop process alive for as long as the tests run. Wine
// starts that process for the first program that needs a window and ends
// it some seconds after the last one has gone; a test program that starts
// it hands it its output pipe, and ctest then waits for the pipe to close.
// Started once in the background by the test command, with its output going
// nowhere, this program holds one hidden window until Wine is stopped.
#include "platform/win32.h"

int main() {
  HWND window = CreateWindowA("STATIC", "plenwick keep desktop", WS_POPUP, 0, 0, 1, 1, nullptr,
                              nullptr, nullptr, nullptr);
  if (!window) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
