// Simulated registry: keys and values that tests preset, opened and read
// with the ANSI functions.
#pragma once

#include <string>
#include <vector>

#include "types.h"

// The predefined root keys, sign-extended on 64-bit hosts as on Windows.
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_READ 0x20019

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size);
LSTATUS RegCloseKey(HKEY key);

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
