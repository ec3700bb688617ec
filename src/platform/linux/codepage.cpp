// Text in the ANSI functions of this platform is UTF-8, the encoding of
// file names, CUPS names and the locale, so that a Java string reaches
// open() and comes back from CUPS unchanged. (Report contents are another
// matter: they are read as code page 1252 where they are drawn.)
#include "platform/win32.h"

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR source, int sourceLength, LPWSTR destination,
                        int destinationLength) {
  return winapi::MultiByteToWideCharIn(CP_UTF8, codePage, source, sourceLength, destination,
                                       destinationLength);
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR source, int sourceLength, LPSTR destination,
                        int destinationLength, LPCSTR, LPBOOL usedDefaultChar) {
  return winapi::WideCharToMultiByteIn(CP_UTF8, codePage, source, sourceLength, destination,
                                       destinationLength, usedDefaultChar);
}
