// Registry reads from a file that regedit exported, named by the
// environment variable PLENWICK_REGISTRY. The file is read when a key is
// opened, so a changed file is seen by the next read. Without the file no
// key exists.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "platform/winapi/handle_table.h"
#include "platform/linux/registry_file.h"

namespace {

struct OpenKey {
  std::string path;  // upper-cased full path
  linux_platform::RegistryValues values;
};
winapi::HandleTable<OpenKey> g_keys(winapi::HandleKind::kRegistryKey);

const char* RootName(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
  if (key == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  if (key == HKEY_USERS) return "HKEY_USERS";
  return nullptr;
}

// The full path of a sub key under a root or an open key; empty when the
// parent is neither.
std::string FullPath(HKEY parent, const char* subKey) {
  std::string path;
  if (const char* root = RootName(parent)) {
    path = root;
  } else if (OpenKey* open = g_keys.Find(parent)) {
    path = open->path;
  } else {
    return "";
  }
  std::string sub = subKey ? subKey : "";
  while (!sub.empty() && sub.back() == '\\') sub.pop_back();
  if (!sub.empty()) path += "\\" + sub;
  return linux_platform::UpperCase(path);
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::string path = FullPath(key, subKey);
  if (path.empty()) return ERROR_INVALID_HANDLE;
  const char* file = getenv("PLENWICK_REGISTRY");
  linux_platform::RegistryKey found;
  if (!file || !linux_platform::ReadRegistryKey(file, path, found) || !found.exists) {
    return ERROR_FILE_NOT_FOUND;
  }
  try {
    auto open = std::make_unique<OpenKey>();
    open->path = path;
    open->values = std::move(found.values);
    *result = g_keys.Add<HKEY>(std::move(open));
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
  OpenKey* open = g_keys.Find(key);
  if (!open) return ERROR_INVALID_HANDLE;
  auto found = open->values.find(linux_platform::UpperCase(valueName ? valueName : ""));
  if (found == open->values.end()) return ERROR_FILE_NOT_FOUND;
  const linux_platform::RegistryValue& value = found->second;
  if (type) *type = value.type;
  DWORD needed = static_cast<DWORD>(value.data.size());
  if (!data) {
    if (size) *size = needed;
    return ERROR_SUCCESS;
  }
  if (!size) return ERROR_INVALID_PARAMETER;
  DWORD room = *size;
  *size = needed;
  if (room < needed) return ERROR_MORE_DATA;
  memcpy(data, value.data.data(), needed);
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) { return g_keys.Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }
