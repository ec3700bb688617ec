// Simulated shell: ShellExecuteExA, the processes it starts, and waiting
// for and closing them (the only kernel handles the library holds).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../winapi/shell.h"

namespace simwin {

// One ShellExecuteExA call as the library filled the record. Texts are
// copied; a null pointer is kept apart from an empty text.
struct ShellText {
  bool present = false;
  std::string text;
};
struct ShellExecution {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  ShellText verb;
  ShellText file;
  ShellText parameters;
  ShellText directory;
  int nShow;
  bool otherFieldsZero;  // every other input field, and both outputs, zero
};
const std::vector<ShellExecution>& ShellExecutions();

// What the shell does with the next commands, in order: the hInstApp it
// reports, and whether it starts a process (a handle is returned only when
// SEE_MASK_NOCLOSEPROCESS asks for one). Without a script: 42, a process.
void QueueShellOutcome(uintptr_t hInstApp, bool startsProcess);

// Shell, wait and close calls in order, e.g. "ShellExecuteExA(notepad.exe)",
// "WaitForSingleObject(process 1, INFINITE)", "CloseHandle(process 1)".
// Processes are numbered from 1 in the order they were started.
const std::vector<std::string>& ShellEvents();

size_t LiveProcessCount();

void ResetShell();

}  // namespace simwin
