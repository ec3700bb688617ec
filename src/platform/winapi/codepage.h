// Character-set conversion between the ANSI code page (1252) and the OEM
// code page (437).
#pragma once

#include "types.h"

BOOL CharToOemA(LPCSTR source, LPSTR destination);
BOOL CharToOemBuffA(LPCSTR source, LPSTR destination, DWORD length);
BOOL OemToCharA(LPCSTR source, LPSTR destination);
BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length);

namespace winapi {

// The Unicode character of a byte of the ANSI code page, and back; a
// character the code page lacks becomes '?'.
uint16_t AnsiToUnicode(unsigned char c);
unsigned char UnicodeToAnsi(uint32_t c);

}  // namespace winapi
