// Character-set conversion between the ANSI code page (1252) and the OEM
// code page (437), and between UTF-16 and a multi-byte code page.
#pragma once

#include <string>

#include "types.h"

#define CP_ACP 0
#define CP_UTF8 65001
#define WC_NO_BEST_FIT_CHARS 0x00000400

// Lengths are in units of the source; -1 is a zero-terminated source, whose
// terminator is converted too. A destination length of 0 asks for the
// length needed. 0 is a failure (ERROR_INSUFFICIENT_BUFFER: too small a
// destination; ERROR_INVALID_PARAMETER: an unknown code page or bad
// arguments). Each platform defines which code page CP_ACP is.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                        LPWSTR destination, int destinationLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                        LPSTR destination, int destinationLength, LPCSTR defaultChar,
                        LPBOOL usedDefaultChar);

BOOL CharToOemA(LPCSTR source, LPSTR destination);
BOOL CharToOemBuffA(LPCSTR source, LPSTR destination, DWORD length);
BOOL OemToCharA(LPCSTR source, LPSTR destination);
BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length);

namespace winapi {

// The Unicode character of a byte of the ANSI code page, and back; a
// character the code page lacks becomes '?'.
uint16_t AnsiToUnicode(unsigned char c);
unsigned char UnicodeToAnsi(uint32_t c);

// Appends the UTF-8 bytes of a Unicode character.
void AppendUtf8(std::string& bytes, uint32_t c);

// The two conversions for a platform whose ANSI code page is ansiCodePage
// (1252 or CP_UTF8); CP_ACP stands for it. Characters the multi-byte code
// page lacks, and unpaired surrogates, become '?' (usedDefaultChar tells);
// bytes that are no UTF-8 become U+FFFD.
int MultiByteToWideCharIn(UINT ansiCodePage, UINT codePage, LPCSTR source, int sourceLength,
                          LPWSTR destination, int destinationLength);
int WideCharToMultiByteIn(UINT ansiCodePage, UINT codePage, LPCWSTR source, int sourceLength,
                          LPSTR destination, int destinationLength, LPBOOL usedDefaultChar);

}  // namespace winapi
