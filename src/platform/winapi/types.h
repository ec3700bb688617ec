// Basic Win32 types and constants, with the real names, for hosts without
// windows.h.
#pragma once

#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef uint32_t UINT;
typedef int INT;
typedef char CHAR;
// UTF-16 code units, of the same size and representation as Java's jchar.
typedef uint16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef unsigned char UCHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* PVOID;
typedef BOOL* LPBOOL;
typedef DWORD* LPDWORD;
typedef BYTE* LPBYTE;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef DWORD COLORREF;
typedef LONG LSTATUS;
typedef DWORD REGSAM;
typedef int HFILE;

// Handles are distinct pointer types, as with STRICT on Windows.
#define SIMWIN_DECLARE_HANDLE(name) \
  struct name##__ {                 \
    int unused;                     \
  };                                \
  typedef struct name##__* name
typedef void* HANDLE;
typedef HANDLE HGLOBAL;
typedef HANDLE HLOCAL;
SIMWIN_DECLARE_HANDLE(HWND);
SIMWIN_DECLARE_HANDLE(HDC);
SIMWIN_DECLARE_HANDLE(HFONT);
SIMWIN_DECLARE_HANDLE(HPEN);
SIMWIN_DECLARE_HANDLE(HBRUSH);
SIMWIN_DECLARE_HANDLE(HINSTANCE);
SIMWIN_DECLARE_HANDLE(HKEY);
SIMWIN_DECLARE_HANDLE(HMENU);
typedef void* HGDIOBJ;
typedef HINSTANCE HMODULE;
typedef HKEY* PHKEY;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define HFILE_ERROR (-1)
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INFINITE 0xFFFFFFFFu

#define LOWORD(l) ((WORD)(((DWORD_PTR_SIM)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR_SIM)(l)) >> 16) & 0xffff))
typedef uintptr_t DWORD_PTR_SIM;
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))

// System error codes the library and its tests meet.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_GEN_FAILURE 31L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_HANDLE_EOF 38L
#define ERROR_DISK_FULL 112L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_DISCARDED 157L
#define ERROR_NOT_LOCKED 158L
#define ERROR_MORE_DATA 234L
#define ERROR_INVALID_PRINTER_NAME 1801L
