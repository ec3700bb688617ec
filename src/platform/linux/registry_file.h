// A registry exported by regedit: the keys and values of a .reg file, in
// either format regedit writes ("REGEDIT4" in the ANSI code page, or
// "Windows Registry Editor Version 5.00" in UTF-16 with a byte order mark).
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/winapi/winapi.h"

namespace linux_platform {

struct RegistryValue {
  DWORD type = REG_NONE;
  std::string data;  // the bytes RegQueryValueExA hands out
};

struct RegistryFile {
  // Full key paths ("HKEY_CURRENT_USER\Software\..."), upper-cased, with
  // every key that a deeper key implies.
  std::set<std::string> keys;
  // Values by upper-cased key path and upper-cased value name ("" for the
  // default value).
  std::map<std::string, std::map<std::string, RegistryValue>> values;
};

// Reads the file; false when it cannot be read or is no registry export.
bool ReadRegistryFile(const std::string& path, RegistryFile& registry);
// Parses an export already read into memory.
bool ParseRegistryText(const std::string& bytes, RegistryFile& registry);

std::string UpperCase(std::string text);

}  // namespace linux_platform
