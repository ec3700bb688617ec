// What the two platforms without windows.h tell of an open file: its type
// and its identity. File handles there are file descriptors.
#include <sys/stat.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "common.h"

namespace {

bool StatOf(HANDLE file, struct stat& info) {
  int descriptor = static_cast<int>(reinterpret_cast<INT_PTR>(file));
  if (file == INVALID_HANDLE_VALUE || fstat(descriptor, &info) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

}  // namespace

DWORD GetFileType(HANDLE file) {
  struct stat info {};
  if (!StatOf(file, info)) return FILE_TYPE_UNKNOWN;
  if (S_ISREG(info.st_mode)) return FILE_TYPE_DISK;
  if (S_ISCHR(info.st_mode)) return FILE_TYPE_CHAR;
  if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) return FILE_TYPE_PIPE;
  SetLastError(ERROR_SUCCESS);  // a folder or a block device: known, but none of these
  return FILE_TYPE_UNKNOWN;
}

BOOL GetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information) {
  struct stat info {};
  if (!information || !StatOf(file, info)) return FALSE;
  memset(information, 0, sizeof *information);
  uint64_t device = static_cast<uint64_t>(info.st_dev);
  uint64_t inode = static_cast<uint64_t>(info.st_ino);
  uint64_t size = static_cast<uint64_t>(info.st_size);
  // The volume serial number is 32 bits: a device number wider than that
  // is folded, so two devices could share one. The inode is whole.
  information->dwVolumeSerialNumber = static_cast<DWORD>(device ^ (device >> 32));
  information->nFileIndexHigh = static_cast<DWORD>(inode >> 32);
  information->nFileIndexLow = static_cast<DWORD>(inode);
  information->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  information->nFileSizeLow = static_cast<DWORD>(size);
  information->nNumberOfLinks = static_cast<DWORD>(info.st_nlink);
  return TRUE;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (!from || !to) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // rename replaces whatever the new name held; without the flag Windows
  // keeps it. The check and the rename are two steps: good enough for a
  // name the caller owns.
  if (!(flags & MOVEFILE_REPLACE_EXISTING) && access(to, F_OK) == 0) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
  }
  if (rename(from, to) != 0) {
    SetLastError(winapi::ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

DWORD GetFullPathNameA(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string full = name;
  if (name[0] != '/') {
    char folder[4096];
    if (!getcwd(folder, sizeof folder)) {
      SetLastError(winapi::ErrorFromErrno(errno));
      return 0;
    }
    full = std::string(folder) + "/" + name;
  }
  if (full.size() >= size || !buffer) return static_cast<DWORD>(full.size() + 1);
  memcpy(buffer, full.c_str(), full.size() + 1);
  if (filePart) *filePart = buffer + full.rfind('/') + 1;
  return static_cast<DWORD>(full.size());
}
