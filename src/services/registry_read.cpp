#include "services/registry_read.h"

#include <cstdio>

#include "core/fixed_text.h"
#include "platform/handles.h"

namespace plenwick {

void TerminateRegistryData(RegistryText& result, DWORD returned) {
  size_t length =
      FieldLength(result.text, returned < kRegistryDataSize ? returned : kRegistryDataSize);
  result.text[length] = '\0';
}

void ReadRegistryString(HKEY root, const char* subKey, const char* valueName,
                        RegistryText& result) {
  // Error messages are cut to the 256 bytes the value itself may use.
  UniqueRegKey key;
  if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
    snprintf(result.text, kRegistryDataSize, "**ERROR** RegOpenKeyEx() Registry Key not found: %s",
             subKey);
    return;
  }
  DWORD type = 0;
  DWORD size = kRegistryDataSize;
  if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<LPBYTE>(result.text),
                       &size) != ERROR_SUCCESS) {
    snprintf(result.text, kRegistryDataSize, "**ERROR** RegQueryValueEx() Data Value not found: %s",
             valueName);
    return;
  }
  TerminateRegistryData(result, size);
}

}  // namespace plenwick
