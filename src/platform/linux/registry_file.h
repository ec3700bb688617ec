// A registry exported by regedit: the keys and values of a .reg file, in
// either format regedit writes ("REGEDIT4" in the ANSI code page, or
// "Windows Registry Editor Version 5.00" in UTF-16 with a byte order mark,
// or saved again by an editor as UTF-8 or ANSI).
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>

#include "platform/winapi/winapi.h"

namespace linux_platform {

struct RegistryValue {
  DWORD type = REG_NONE;
  std::string data;  // the bytes RegQueryValueExA hands out
};

// Values by upper-cased value name ("" for the default value).
using RegistryValues = std::map<std::string, RegistryValue>;

// What an export says of one key.
struct RegistryKey {
  bool exists = false;  // named, or implied by a deeper key
  RegistryValues values;
};

// The longest logical line read, in characters. A longer one (a value of
// megabytes) is skipped, so that reading an export takes bounded memory.
constexpr size_t kLongestRegistryLine = size_t{1} << 20;

// Reads what the file says of one key, given by its upper-cased full path
// ("HKEY_CURRENT_USER\SOFTWARE\..."). The file is read a buffer at a time
// and only that key's values are kept, so memory stays bounded whatever the
// file's size. False when the file cannot be read or is no registry export.
bool ReadRegistryKey(const char* file, const std::string& keyPath, RegistryKey& key);

// A whole export read into memory.
struct RegistryFile {
  // Full key paths, upper-cased, with every key that a deeper key implies.
  std::set<std::string> keys;
  // Values by upper-cased key path.
  std::map<std::string, RegistryValues> values;
};

// Parses an export already read into memory. With a piece size the bytes
// are handed to the reader in pieces of that size, as from a file.
bool ParseRegistryText(const std::string& bytes, RegistryFile& registry, size_t pieceSize = 0);
// What an export already read into memory says of one key.
bool ParseRegistryKey(const std::string& bytes, const std::string& keyPath, RegistryKey& key,
                      size_t pieceSize = 0);

std::string UpperCase(std::string text);

}  // namespace linux_platform
