// Character-set conversion between the ANSI code page (1252) and the OEM
// code page (437).
#pragma once

#include "types.h"

BOOL CharToOemA(LPCSTR source, LPSTR destination);
BOOL CharToOemBuffA(LPCSTR source, LPSTR destination, DWORD length);
BOOL OemToCharA(LPCSTR source, LPSTR destination);
BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length);
