// Kernel services on POSIX: report files are file descriptors, global and
// local memory blocks are heap blocks, the last error is per thread.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/linux/live_objects.h"
#include "platform/winapi/winapi.h"

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

constexpr DWORD kInsufficientBuffer = 122;
constexpr DWORD kMessageNotFound = 317;

struct GlobalBlock {
  std::vector<unsigned char> bytes;
  int locks = 0;
};
linux_platform::LiveObjects<GlobalBlock> g_globals;

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_INVALID_PARAMETER;
  }
}

const char* SystemMessage(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
      return "The operation completed successfully.\r\n";
    case ERROR_FILE_NOT_FOUND:
      return "File not found.\r\n";
    case ERROR_PATH_NOT_FOUND:
      return "Path not found.\r\n";
    case ERROR_ACCESS_DENIED:
      return "Access denied.\r\n";
    case ERROR_INVALID_HANDLE:
      return "Invalid handle.\r\n";
    case ERROR_NOT_ENOUGH_MEMORY:
      return "Not enough memory.\r\n";
    case ERROR_INVALID_PARAMETER:
      return "Invalid parameter.\r\n";
    case ERROR_INVALID_PRINTER_NAME:
      return "Invalid printer name.\r\n";
    default:
      return nullptr;
  }
}

}  // namespace

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD code) { t_lastError = code; }

HFILE _lopen(LPCSTR path, int mode) {
  int flags = (mode & 3) == OF_WRITE ? O_WRONLY : (mode & 3) == OF_READWRITE ? O_RDWR : O_RDONLY;
  int file = path ? open(path, flags | O_CLOEXEC) : -1;
  if (file < 0) {
    SetLastError(path ? ErrorFromErrno(errno) : ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  // A directory opens for reading here, but it is no file: Windows refuses
  // it, and a report that is a directory must not count as printed.
  struct stat info {};
  if (fstat(file, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(file);
    SetLastError(ERROR_ACCESS_DENIED);
    return HFILE_ERROR;
  }
  return file;
}

UINT _lread(HFILE file, LPVOID buffer, UINT count) {
  ssize_t got;
  do {
    got = read(file, buffer, count);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    SetLastError(ErrorFromErrno(errno));
    return static_cast<UINT>(HFILE_ERROR);
  }
  return static_cast<UINT>(got);
}

HFILE _lclose(HFILE file) {
  if (close(file) != 0) {
    SetLastError(ErrorFromErrno(errno));
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
    SetLastError(path ? ErrorFromErrno(errno) : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

HGLOBAL GlobalAlloc(UINT, size_t bytes) {
  // Every block is zeroed: a block asked for without GMEM_ZEROINIT may
  // hold anything, zero included.
  auto block = std::make_unique<GlobalBlock>();
  block->bytes.resize(bytes == 0 ? 1 : bytes);
  return g_globals.Add<HGLOBAL>(std::move(block));
}

LPVOID GlobalLock(HGLOBAL handle) {
  GlobalBlock* block = g_globals.Find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  ++block->locks;
  return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL handle) {
  GlobalBlock* block = g_globals.Find(handle);
  if (!block || block->locks == 0) return FALSE;
  return --block->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  if (!handle) return nullptr;
  if (!g_globals.Remove(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return handle;
  }
  return nullptr;
}

HLOCAL LocalFree(HLOCAL block) {
  free(block);
  return nullptr;
}

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size, void*) {
  const char* text = (flags & FORMAT_MESSAGE_FROM_SYSTEM) ? SystemMessage(messageId) : nullptr;
  if (!text) {
    SetLastError(kMessageNotFound);
    return 0;
  }
  DWORD length = static_cast<DWORD>(strlen(text));
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    // Given back with LocalFree, which is free.
    char* copy = strdup(text);
    if (!copy) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return 0;
    }
    *reinterpret_cast<LPSTR*>(buffer) = copy;
    return length;
  }
  if (!buffer || size <= length) {
    SetLastError(kInsufficientBuffer);
    return 0;
  }
  memcpy(buffer, text, length + 1);
  return length;
}
