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

// The window station of the process: the desktop it may show windows on.
// A service's is not visible, and a window shown there waits for a user
// who never sees it.
typedef HANDLE HWINSTA;
#define UOI_FLAGS 1
#define WSF_VISIBLE 0x0001L
typedef struct tagUSEROBJECTFLAGS {
  BOOL fInherit;
  BOOL fReserved;
  DWORD dwFlags;
} USEROBJECTFLAGS;

HWINSTA GetProcessWindowStation();
BOOL GetUserObjectInformationA(HANDLE object, int index, PVOID info, DWORD length, LPDWORD needed);
