// The one platform include of the library. On Windows it is the real API;
// on any other host it declares the same Win32 subset, which the Linux
// platform implements for the library and the simulated Windows for the
// tests. Library code never knows which one it has.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commdlg.h>
#include <winspool.h>
#include <shellapi.h>
#else
#include "winapi/winapi.h"
#endif
