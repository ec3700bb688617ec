#include "core/regular_file.h"

#include <cstring>

namespace plenwick {
namespace {

HANDLE HandleOf(HFILE file) { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file)); }

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The device name a file name starts with, up to a dot, a colon or a
// blank (Windows reads "nul.txt", "NUL:" and "nul " alike), in capitals.
bool IsDeviceName(const char* name) {
  static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL"};
  size_t length = strcspn(name, ".: ");
  char word[5] = "";
  if (length < 3 || length > 4) return false;
  for (size_t i = 0; i < length; ++i) word[i] = AsciiUpper(name[i]);
  word[length] = '\0';
  for (const char* device : kNames) {
    if (strcmp(word, device) == 0) return true;
  }
  return length == 4 && (strncmp(word, "COM", 3) == 0 || strncmp(word, "LPT", 3) == 0) &&
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
