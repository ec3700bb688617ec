// Simulated shell: ShellExecuteExA, the processes it starts, and waiting
// for and closing them (the only kernel handles the library holds).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "types.h"

#define SEE_MASK_DEFAULT 0x00000000
#define SEE_MASK_NOCLOSEPROCESS 0x00000040

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_FAILED 0xFFFFFFFFu

// Field names and order as on Windows; 60 bytes in the 32-bit layout.
typedef struct _SHELLEXECUTEINFOA {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCSTR lpVerb;
  LPCSTR lpFile;
  LPCSTR lpParameters;
  LPCSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
  void* lpIDList;
  LPCSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  union {
    HANDLE hIcon;
    HANDLE hMonitor;
  };
  HANDLE hProcess;
} SHELLEXECUTEINFOA, *LPSHELLEXECUTEINFOA;

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL CloseHandle(HANDLE handle);

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
