// A program for the shell launch tests: after a short pause it writes its
// command line and the show state it was started with into the marker file
// named by PLENWICK_MARKER, then ends. The pause lets a test tell whether a
// launch waited for the program to end.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
  char marker[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("PLENWICK_MARKER", marker, sizeof marker);
  if (length == 0 || length >= sizeof marker) return 2;
  Sleep(700);
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  // Written under another name and renamed, so the marker appears whole.
  std::string partial = std::string(marker) + ".partial";
  FILE* file = fopen(partial.c_str(), "wb");
  if (!file) return 3;
  fprintf(file, "%s\nshow=%d\n", GetCommandLineA(), show);
  fclose(file);
  return MoveFileExA(partial.c_str(), marker, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
