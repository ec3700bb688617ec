// The simulated machine's ANSI code page is 1252, as on a Western
// European Windows.
#include "internal.h"

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR source, int sourceLength, LPWSTR destination,
                        int destinationLength) {
  return winapi::MultiByteToWideCharIn(1252, codePage, source, sourceLength, destination,
                                       destinationLength);
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR source, int sourceLength, LPSTR destination,
                        int destinationLength, LPCSTR, LPBOOL usedDefaultChar) {
  return winapi::WideCharToMultiByteIn(1252, codePage, source, sourceLength, destination,
                                       destinationLength, usedDefaultChar);
}
