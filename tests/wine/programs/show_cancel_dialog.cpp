// Shows the cancel dialog as the page loop shows it while a page spools:
// the template from PLENWICKDLL.dll, the library's own dialog code, a page
// title in the progress line, messages served only by the abort procedure.
//
//   show_cancel_dialog.exe READY_FILE STOP_FILE
//
// Writes READY_FILE once the dialog has been up for a few rounds of
// messages (so it is painted), and ends when STOP_FILE appears, when
// Cancel is pressed, or after a bounded number of rounds.
#include <cstdio>

#include "platform/win32.h"
#include "render/cancel_dialog.h"

namespace {

const int kReadyRound = 5;
const int kLastRound = 600;  // each round waits at most 100 ms for a message

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool WriteMarker(const char* path) {
  FILE* file = fopen(path, "w");
  if (!file) return false;
  fputs("shown\n", file);
  return fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: show_cancel_dialog READY_FILE STOP_FILE\n");
    return 2;
  }
  plenwick::g_moduleInstance = LoadLibraryA("PLENWICKDLL.dll");
  if (!plenwick::g_moduleInstance) {
    fprintf(stderr, "cannot load PLENWICKDLL.dll: error %lu\n", GetLastError());
    return 1;
  }
  plenwick::ClearAbortFlag();
  plenwick::CancelDialog dialog(GetFocus(), false);
  if (!dialog.Exists()) {
    fprintf(stderr, "cannot create the cancel dialog: error %lu\n", GetLastError());
    return 1;
  }
  dialog.SetProgressText("report.txt (page 1)");

  for (int round = 1; round <= kLastRound; ++round) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    if (!AbrtProc(nullptr, 0)) break;  // Cancel was pressed
    if (round == kReadyRound && !WriteMarker(argv[1])) {
      fprintf(stderr, "cannot write %s\n", argv[1]);
      return 1;
    }
    if (FileExists(argv[2])) break;
  }
  return 0;
}
