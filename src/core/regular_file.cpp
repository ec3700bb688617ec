#include "core/regular_file.h"

#include <cstring>

#include "platform/ascii.h"

namespace plenwick {
namespace {

HANDLE HandleOf(HFILE file) { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file)); }

// The device name a file name starts with, up to a dot, a colon or a
// blank: Windows reads "nul.txt", "NUL:" and "nul " alike.
bool IsDeviceName(const char* name) {
  size_t length = strcspn(name, ".: ");
  if (length < 3 || length > 4) return false;
  char word[5] = "";
  memcpy(word, name, length);
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (EqualsIgnoreCase(word, device)) return true;
  }
  char prefix[4] = {word[0], word[1], word[2], '\0'};
  return length == 4 && (EqualsIgnoreCase(prefix, "COM") || EqualsIgnoreCase(prefix, "LPT")) &&
         word[3] >= '1' && word[3] <= '9';
}

}  // namespace

bool NamesReservedDevice(const char* path) {
  if (strncmp(path, "\\\\.\\", 4) == 0 || strncmp(path, "\\\\?\\", 4) == 0) return true;
  const char* name = path;
  for (const char* at = path; *at; ++at) {
    if (*at == '\\' || *at == '/' || (*at == ':' && at == path + 1)) name = at + 1;
  }
  return IsDeviceName(name);
}

UniqueFile OpenRegularFile(const char* path) {
  if (ReservedDeviceNamesApply() && NamesReservedDevice(path)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return UniqueFile();
  }
  UniqueFile file(_lopen(path, OF_READ));
  if (file && GetFileType(HandleOf(file.get())) != FILE_TYPE_DISK) {
    file.reset();
    SetLastError(ERROR_ACCESS_DENIED);
  }
  return file;
}

FileIdentity IdentityOf(HFILE file) {
  FileIdentity identity;
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileInformationByHandle(HandleOf(file), &information)) {
    identity.known = true;
    identity.volume = information.dwVolumeSerialNumber;
    identity.indexHigh = information.nFileIndexHigh;
    identity.indexLow = information.nFileIndexLow;
  }
  return identity;
}

bool StillNames(const char* path, const FileIdentity& identity) {
  UniqueFile file = OpenRegularFile(path);
  return file && IdentityOf(file.get()) == identity;
}

}  // namespace plenwick
