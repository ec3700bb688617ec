// Kernel services on POSIX: report files are file descriptors, local
// memory blocks are heap blocks. Global memory and the last error are the
// shared ones (winapi/).
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/winapi/common.h"

// Standard error is where a server's log and a terminal user look; the
// line is written whole and at once.
void OutputDebugStringA(LPCSTR text) {
  if (!text) return;
  fputs(text, stderr);
  fflush(stderr);
}

HFILE _lopen(LPCSTR path, int mode) {
  int file = winapi::LowLevelOpen(path, mode);
  return file < 0 ? HFILE_ERROR : file;
}

UINT _lread(HFILE file, LPVOID buffer, UINT count) {
  ssize_t got;
  do {
    got = read(file, buffer, count);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    SetLastError(winapi::ErrorFromErrno(errno));
    return static_cast<UINT>(HFILE_ERROR);
  }
  return static_cast<UINT>(got);
}

HFILE _lclose(HFILE file) {
  if (close(file) != 0) {
    SetLastError(winapi::ErrorFromErrno(errno));
    return HFILE_ERROR;
  }
  return 0;
}

BOOL DeleteFileA(LPCSTR path) {
  // A file its owner may not write is read-only, and Windows deletes no
  // read-only file. The directory's permissions alone would let unlink
  // delete it.
  struct stat info {};
  if (path && lstat(path, &info) == 0 && S_ISREG(info.st_mode) && !(info.st_mode & S_IWUSR)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!path || unlink(path) != 0) {
    SetLastError(path ? winapi::ErrorFromErrno(errno) : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

HLOCAL LocalFree(HLOCAL block) {
  free(block);
  return nullptr;
}

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                     void*) {
  // An allocated text is given back with LocalFree, which is free.
  return winapi::FormatSystemMessage(flags, messageId, buffer, size,
                                     [](const std::string& text) { return strdup(text.c_str()); });
}

// A file may be called con.txt or aux here.
BOOL ReservedDeviceNamesApply() { return FALSE; }

// An absolute path, as File.getAbsolutePath() gives a report: a report
// when something other than a folder is there (what it is, the reader
// checks as for any report).
BOOL SlashArgumentNamesFile(LPCSTR argument) {
  struct stat info {};
  return argument && argument[0] == '/' && stat(argument, &info) == 0 && !S_ISDIR(info.st_mode);
}
