// The one platform include of the library. On Windows it is the real API;
// on any other host it is the same subset declared in winapi/, defined by
// whatever platform the program is linked with (in libPLENWICKDLL.so the
// Linux platform, in the tests the simulated Windows). Library code never
// knows which one it has.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commdlg.h>
#include <winspool.h>
#include <shellapi.h>
#include <objbase.h>
// The module's export list (src/resources/PLENWICKDLL.def) names what the
// DLL exports.
#define PLENWICK_EXPORT
// A slash never begins a Windows path: a command word that begins with one
// is always a switch.
inline BOOL ShellSlashWordIsPath(LPCSTR, size_t, BOOL) { return FALSE; }
// CON, NUL, COM1, LPT1 and alike name devices in every folder.
inline BOOL ReservedDeviceNamesApply() { return TRUE; }
// A slash begins an option, never a path.
inline BOOL SlashArgumentNamesFile(LPCSTR) { return FALSE; }
// The spooler keeps what it knows of its printers itself (winapi/winspool.h).
inline void BeginPrinterSession() {}
inline void EndPrinterSession() {}
#else
#include "winapi/winapi.h"
// Everything is hidden but what is marked so.
#define PLENWICK_EXPORT __attribute__((visibility("default")))
#endif
