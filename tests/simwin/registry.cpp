#include <map>
#include <memory>
#include <mutex>

#include "internal.h"

namespace {

struct Value {
  DWORD type;
  std::string data;
};
// Keys by full lower-case path ("hkcu\software\example"); value names are
// lower case too, since the registry ignores case. Made on first use, so
// that a test's setup may store values before any other object of this
// file is constructed.
using KeyMap = std::map<std::string, std::map<std::string, Value>>;
KeyMap& Keys() {
  static KeyMap keys;
  return keys;
}

struct OpenKey {
  std::string path;
};
// Registry reads run on any thread of the host, beside a print: the keys,
// the open handles and the record are shared, one call at a time.
std::mutex g_lock;
simwin::HandleTable<OpenKey> g_openKeys(simwin::HandleKind::kRegistryKey);
std::vector<std::string> g_events;

std::string Lower(const std::string& text) {
  std::string lower = text;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// The path of a root or open key, or empty when the handle is neither.
std::string PathOf(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return "hkcr";
  if (key == HKEY_CURRENT_USER) return "hkcu";
  if (key == HKEY_LOCAL_MACHINE) return "hklm";
  if (key == HKEY_USERS) return "hku";
  OpenKey* open = g_openKeys.Find(key);
  return open ? open->path : std::string();
}

std::string Join(const std::string& path, const std::string& subKey) {
  return subKey.empty() ? path : path + "\\" + Lower(subKey);
}

// The 32-bit view of a 64-bit machine keeps HKLM\Software apart, under
// WOW6432Node, where a 32-bit installer's keys are.
std::string InView(std::string path, REGSAM access) {
  const std::string software = "hklm\\software";
  if ((access & KEY_WOW64_32KEY) && path.compare(0, software.size(), software) == 0 &&
      (path.size() == software.size() || path[software.size()] == '\\')) {
    path.insert(software.size(), "\\wow6432node");
  }
  return path;
}

LSTATUS Record(const std::string& call, LSTATUS result) {
  g_events.push_back(call + " = " + std::to_string(result));
  return result;
}

std::string Hex(DWORD value) {
  char text[16];
  snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  std::lock_guard<std::mutex> oneCall(g_lock);
  std::string sub = subKey ? subKey : "";
  std::string call =
      "RegOpenKeyExA(" + sub + ", " + std::to_string(options) + ", " + Hex(access) + ")";
  *result = nullptr;
  std::string base = PathOf(key);
  if (base.empty()) return Record(call, ERROR_INVALID_HANDLE);
  std::string path = InView(Join(base, sub), access);
  if (!Keys().count(path)) return Record(call, ERROR_FILE_NOT_FOUND);
  // Even an empty sub key gives a new handle to the same key.
  *result = g_openKeys.Add<HKEY>(std::make_unique<OpenKey>(OpenKey{path}));
  return Record(call, ERROR_SUCCESS);
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
  std::lock_guard<std::mutex> oneCall(g_lock);
  std::string name = valueName ? valueName : "";
  std::string call =
      "RegQueryValueExA(" + name + ", " + (size ? std::to_string(*size) : "null") + ")";
  auto keyIt = Keys().find(PathOf(key));
  if (keyIt == Keys().end()) return Record(call, ERROR_INVALID_HANDLE);
  auto valueIt = keyIt->second.find(Lower(name));
  if (valueIt == keyIt->second.end()) return Record(call, ERROR_FILE_NOT_FOUND);
  const Value& value = valueIt->second;
  if (type) *type = value.type;
  DWORD needed = static_cast<DWORD>(value.data.size());
  if (!data) {
    if (size) *size = needed;
    return Record(call, ERROR_SUCCESS);
  }
  if (!size) return Record(call, ERROR_INVALID_PARAMETER);
  if (*size < needed) {
    *size = needed;
    return Record(call, ERROR_MORE_DATA);
  }
  value.data.copy(reinterpret_cast<char*>(data), needed);
  *size = needed;
  return Record(call, ERROR_SUCCESS);
}

LSTATUS RegCloseKey(HKEY key) {
  std::lock_guard<std::mutex> oneCall(g_lock);
  if (g_openKeys.Remove(key)) return Record("RegCloseKey()", ERROR_SUCCESS);
  bool root = !PathOf(key).empty();  // closing a root key is allowed and does nothing
  return Record("RegCloseKey()", root ? ERROR_SUCCESS : ERROR_INVALID_HANDLE);
}

namespace simwin {

void CreateRegistryKey(HKEY root, const std::string& subKey) {
  std::string path = PathOf(root);
  Keys()[path];
  size_t start = 0;
  while (start <= subKey.size() && !subKey.empty()) {
    size_t end = subKey.find('\\', start);
    if (end == std::string::npos) end = subKey.size();
    path = Join(path, subKey.substr(start, end - start));
    Keys()[path];
    start = end + 1;
  }
}

void SetRegistryValue(HKEY root, const std::string& subKey, const std::string& name, DWORD type,
                      const std::string& data) {
  std::lock_guard<std::mutex> oneCall(g_lock);
  CreateRegistryKey(root, subKey);
  Keys()[Join(PathOf(root), subKey)][Lower(name)] = Value{type, data};
}

const std::vector<std::string>& RegistryEvents() { return g_events; }
size_t OpenKeyCount() { return g_openKeys.Count(); }

namespace detail {

void ResetRegistry() {
  std::lock_guard<std::mutex> oneCall(g_lock);
  Keys().clear();
  g_openKeys.Clear();
  g_events.clear();
  CreateRegistryKey(HKEY_LOCAL_MACHINE, "Software");
}

}  // namespace detail
}  // namespace simwin
