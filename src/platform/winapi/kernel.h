// Kernel services: files, global and local memory, last error and system
// message texts.
#pragma once

#include "types.h"

#define OF_READ 0x0000
#define OF_WRITE 0x0001
#define OF_READWRITE 0x0002

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000

#define LANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define MAKELANGID(p, s) ((((WORD)(s)) << 10) | (WORD)(p))

DWORD GetLastError();
void SetLastError(DWORD code);

HFILE _lopen(LPCSTR path, int mode);
UINT _lread(HFILE file, LPVOID buffer, UINT count);
HFILE _lclose(HFILE file);
BOOL DeleteFileA(LPCSTR path);
#define MOVEFILE_REPLACE_EXISTING 0x00000001
// Gives a file a new name in the same volume; a file already under the new
// name is replaced only with MOVEFILE_REPLACE_EXISTING.
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
// The absolute path of name, from the current folder: its length (without
// the terminator) when buffer holds size bytes or more, else the size
// needed; 0 with the last error on failure. filePart may be null.
DWORD GetFullPathNameA(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart);

// The UTF-16 file functions the library names files with: reading an
// existing file (its handle is the _l functions' HFILE value) and deleting
// one.
#define GENERIC_READ 0x80000000u
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define OPEN_EXISTING 3
#define FILE_ATTRIBUTE_NORMAL 0x00000080
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD share, void* security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
BOOL DeleteFileW(LPCWSTR path);

// A line of diagnostics for whoever watches the program's debug output.
void OutputDebugStringA(LPCSTR text);

// What a file handle is: a file on a disk, a character device (a console,
// a terminal, /dev/zero), a pipe (a FIFO, a socket).
#define FILE_TYPE_UNKNOWN 0x0000
#define FILE_TYPE_DISK 0x0001
#define FILE_TYPE_CHAR 0x0002
#define FILE_TYPE_PIPE 0x0003
DWORD GetFileType(HANDLE file);

typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME;
typedef struct _BY_HANDLE_FILE_INFORMATION {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD dwVolumeSerialNumber;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD nNumberOfLinks;
  DWORD nFileIndexHigh;
  DWORD nFileIndexLow;
} BY_HANDLE_FILE_INFORMATION, *LPBY_HANDLE_FILE_INFORMATION;
// The volume and file index name one file whatever path reaches it (the
// device and inode here).
BOOL GetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);

// Whether a path whose last part is CON, NUL, COM1, LPT1 and alike names
// a device rather than a file, as on Windows. Off Windows such names are
// ordinary file names.
BOOL ReservedDeviceNamesApply();

// Whether a request's argument that begins with a slash is a report rather
// than an option: where a slash begins an absolute path, one that names an
// existing file is the report an application passed (/tmp/report.txt);
// any other (/copies=2) stays an option. Windows: never.
BOOL SlashArgumentNamesFile(LPCSTR argument);

HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);
HLOCAL LocalFree(HLOCAL block);

DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer,
                     DWORD size, void* arguments);
