// Simulated registry: keys and values that tests preset, opened and read
// with the ANSI functions.
#pragma once

#include <string>
#include <vector>

#include "../winapi/registry.h"

namespace simwin {

// Stores a value with its raw bytes, exactly as given (a string value
// brings its own terminator, or none), creating the key and its parents.
void SetRegistryValue(HKEY root, const std::string& subKey, const std::string& name, DWORD type,
                      const std::string& data);
void CreateRegistryKey(HKEY root, const std::string& subKey);

// Registry calls in order, e.g. "RegOpenKeyExA(Software\Plenwick, 0, 0x1) = 0",
// "RegQueryValueExA(Greeting, 256) = 0", "RegCloseKey() = 0".
const std::vector<std::string>& RegistryEvents();

size_t OpenKeyCount();

// A fresh machine's registry holds these values, which the Java test reads:
// HKEY_CURRENT_USER\Software\Plenwick\Test
//   "Greeting"  REG_SZ         "Hello from the registry"
//   (default)   REG_SZ         "Plenwick test key"
//   "Folder"    REG_EXPAND_SZ  "%TEMP%\plenwick"
void ResetRegistry();

}  // namespace simwin
