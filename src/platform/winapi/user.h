// Message boxes.
#pragma once

#include "types.h"

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
