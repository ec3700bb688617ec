#include "services/registry_read.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/fixed_text.h"
#include "core/wide_name.h"
#include "platform/handles.h"

namespace plenwick {
namespace {

// The views a value is looked for in. A 32-bit installer writes into the
// 32-bit view, which a 32-bit process reads by itself; a 64-bit process
// reads its own view first and that one for what its own lacks.
const REGSAM kViews[] = {0, KEY_WOW64_32KEY};
constexpr int kViewCount = sizeof(void*) == 8 ? 2 : 1;

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The value's data as the Java side reads it: text as Windows holds it (its
// first string), anything else byte for byte, never more than 256 bytes.
bool TakeData(DWORD type, const WCHAR* units, DWORD size, RegistryText& result) {
  if (IsText(type)) {
    int length = static_cast<int>(size / sizeof(WCHAR));
    int end = 0;
    while (end < length && units[end] != 0) ++end;
    CopyText(result.text, Utf8Of(units, end).c_str());
    return true;
  }
  if (size > kRegistryDataSize) return false;
  memcpy(result.text, units, size);
  TerminateRegistryData(result, size);
  return true;
}

}  // namespace

void TerminateRegistryData(RegistryText& result, DWORD returned) {
  size_t length =
      FieldLength(result.text, returned < kRegistryDataSize ? returned : kRegistryDataSize);
  result.text[length] = '\0';
}

void ReadRegistryString(HKEY root, const char* subKey, const char* valueName,
                        RegistryText& result) {
  WideName subKeyName(subKey);
  WideName name(valueName);
  bool opened = false;
  for (int view = 0; view < kViewCount; ++view) {
    UniqueRegKey key;
    LSTATUS status =
        RegOpenKeyExW(root, subKeyName.get(), 0, KEY_QUERY_VALUE | kViews[view], key.put());
    if (status != ERROR_SUCCESS) {
      if (status == ERROR_FILE_NOT_FOUND) continue;
      break;
    }
    opened = true;
    // Room for 256 characters of text, as the 256 bytes of the ANSI read.
    WCHAR units[kRegistryDataSize] = {};
    DWORD type = 0;
    DWORD size = sizeof units;
    status = RegQueryValueExW(key.get(), name.get(), nullptr, &type,
                              reinterpret_cast<LPBYTE>(units), &size);
    if (status == ERROR_SUCCESS && TakeData(type, units, size, result)) return;
    if (status != ERROR_FILE_NOT_FOUND) break;
  }
  // Error messages are cut to the 256 bytes the value itself may use.
  if (!opened) {
    snprintf(result.text, kRegistryDataSize, "**ERROR** RegOpenKeyEx() Registry Key not found: %s",
             subKey);
    return;
  }
  snprintf(result.text, kRegistryDataSize, "**ERROR** RegQueryValueEx() Data Value not found: %s",
           valueName);
}

}  // namespace plenwick
