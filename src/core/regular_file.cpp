#include "core/regular_file.h"

#include <cstring>

#include "core/wide_name.h"
#include "platform/ascii.h"

namespace plenwick {
namespace {

HANDLE HandleOf(HFILE file) { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file)); }

// A file handle as the _l functions take it: Windows' kernel handles keep
// their value in 32 bits, so that 32-bit and 64-bit processes can share them.
HFILE FileOf(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) return HFILE_ERROR;
  return static_cast<HFILE>(reinterpret_cast<INT_PTR>(handle));
}

bool IsSeparator(WCHAR c) { return c == '\\' || c == '/'; }

// The name the W functions take for path. A path of MAX_PATH characters or
// more opens only in the \\?\ form, which Windows passes on unchanged: no
// '/' read as '\\' then, so the separators are made Windows' own. Where
// Windows' naming rules do not apply, a path is left as it is.
WideString FilePathOf(const char* path) {
  WideString wide = WideOf(path);
  if (wide.size() < MAX_PATH || !ReservedDeviceNamesApply()) return wide;
  bool drive = wide[1] == ':' && IsSeparator(wide[2]);
  bool share = IsSeparator(wide[0]) && IsSeparator(wide[1]);
  if (!drive && !share) return wide;
  for (WCHAR& c : wide) {
    if (c == '/') c = '\\';
  }
  return drive ? WideOf("\\\\?\\") + wide : WideOf("\\\\?\\UNC") + wide.substr(1);
}

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
  UniqueFile file(
      FileOf(CreateFileW(FilePathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
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

BOOL DeleteNamedFile(const char* path) { return DeleteFileW(FilePathOf(path).c_str()); }

}  // namespace plenwick
