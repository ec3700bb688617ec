#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "internal.h"
#include "platform/winapi/common.h"

namespace {

struct OpenFile {
  long bytesRead = 0;
  long failAfter = -1;
  DWORD failError = 0;
};
std::map<int, OpenFile> g_files;
long g_failReadsAfter = -1;
DWORD g_failReadsError = 0;

std::vector<simwin::DeleteRecord> g_deleted;
std::vector<std::string> g_debugStrings;

// Local blocks are handed out by address (FormatMessageA gives the caller a
// text pointer), so they are keyed by that address.
std::map<const void*, std::unique_ptr<std::string>> g_locals;

}  // namespace

void OutputDebugStringA(LPCSTR text) { g_debugStrings.push_back(text ? text : ""); }

HFILE _lopen(LPCSTR path, int mode) {
  int fd = winapi::LowLevelOpen(path, mode);
  if (fd < 0) return HFILE_ERROR;
  OpenFile file;
  file.failAfter = g_failReadsAfter;
  file.failError = g_failReadsError;
  g_failReadsAfter = -1;
  g_files[fd] = file;
  return fd;
}

UINT _lread(HFILE handle, LPVOID buffer, UINT count) {
  auto it = g_files.find(handle);
  if (it == g_files.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<UINT>(HFILE_ERROR);
  }
  OpenFile& file = it->second;
  if (file.failAfter >= 0) {
    long left = file.failAfter - file.bytesRead;
    if (left <= 0) {
      SetLastError(file.failError);
      return static_cast<UINT>(HFILE_ERROR);
    }
    if (static_cast<long>(count) > left) count = static_cast<UINT>(left);
  }
  ssize_t got = read(handle, buffer, count);
  if (got < 0) {
    SetLastError(winapi::ErrorFromErrno(errno));
    return static_cast<UINT>(HFILE_ERROR);
  }
  file.bytesRead += got;
  return static_cast<UINT>(got);
}

HFILE _lclose(HFILE handle) {
  if (g_files.erase(handle) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return HFILE_ERROR;
  }
  close(handle);
  return 0;
}

BOOL DeleteFileA(LPCSTR path) {
  bool deleted = unlink(path) == 0;
  if (!deleted) SetLastError(winapi::ErrorFromErrno(errno));
  g_deleted.push_back({path, deleted});
  return deleted ? TRUE : FALSE;
}

HLOCAL LocalFree(HLOCAL handle) {
  if (handle && g_locals.erase(handle) == 0) return handle;
  return nullptr;
}

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                     void*) {
  return winapi::FormatSystemMessage(flags, messageId, buffer, size, [](const std::string& text) {
    auto block = std::make_unique<std::string>(text);
    char* address = block->data();
    g_locals[address] = std::move(block);
    return address;
  });
}

namespace simwin {

const std::vector<DeleteRecord>& DeletedFiles() { return g_deleted; }
const std::vector<std::string>& DebugStrings() { return g_debugStrings; }
// The global blocks are the shared ones (winapi/global_memory.cpp).
size_t LiveGlobalBlocks() { return winapi::LiveGlobalBlocks(); }
size_t LockedGlobalBlocks() { return winapi::LockedGlobalBlocks(); }
void FailNextGlobalAlloc() { winapi::FailNextGlobalAlloc(); }
void FailReadsAfter(long bytes, DWORD error) {
  g_failReadsAfter = bytes;
  g_failReadsError = error;
}

namespace detail {

void ClearDeletedFiles() {
  g_deleted.clear();
  g_debugStrings.clear();
}

size_t OpenFileCount() { return g_files.size(); }

size_t LiveLocalBlocks() { return g_locals.size(); }

void ResetKernel() {
  for (auto& entry : g_files) close(entry.first);
  g_files.clear();
  g_deleted.clear();
  g_debugStrings.clear();
  winapi::FreeAllGlobalBlocks();
  g_locals.clear();
  g_failReadsAfter = -1;
  SetLastError(0);
}

}  // namespace detail

}  // namespace simwin

// As on Windows, so that the library's refusal of device names is tested.
BOOL ReservedDeviceNamesApply() { return TRUE; }
