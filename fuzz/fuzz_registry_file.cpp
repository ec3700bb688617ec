// Fuzzes the regedit export reader: any bytes in any of its encodings,
// handed over in pieces of any size as the file reader hands them. The
// pieces must not change what is read, and what is read of one key must be
// what the whole export says of it.
#include <cstdint>
#include <string>

#include "platform/linux/registry_file.h"

namespace {

using linux_platform::RegistryFile;
using linux_platform::RegistryKey;
using linux_platform::RegistryValues;

bool Same(const RegistryValues& a, const RegistryValues& b) {
  if (a.size() != b.size()) return false;
  for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
    if (i->first != j->first || i->second.type != j->second.type ||
        i->second.data != j->second.data) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t pieceSize = data[0] % 64 + 1;
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  RegistryFile whole, pieces;
  bool read = ParseRegistryText(bytes, whole);
  if (ParseRegistryText(bytes, pieces, pieceSize) != read) __builtin_trap();
  if (pieces.keys != whole.keys || pieces.values.size() != whole.values.size()) __builtin_trap();
  for (const auto& [key, values] : whole.values) {
    auto found = pieces.values.find(key);
    if (found == pieces.values.end() || !Same(found->second, values)) __builtin_trap();
    if (key.empty() || !whole.keys.count(key)) __builtin_trap();
  }

  // The last key in order read alone, or one that the export does not
  // name.
  std::string key = whole.keys.empty() ? "HKEY_NONE\\NOWHERE" : *whole.keys.rbegin();
  RegistryKey one;
  if (ParseRegistryKey(bytes, key, one, pieceSize) != read) __builtin_trap();
  if (one.exists != (whole.keys.count(key) > 0)) __builtin_trap();
  auto values = whole.values.find(key);
  if (!Same(one.values, values == whole.values.end() ? RegistryValues() : values->second)) {
    __builtin_trap();
  }
  return 0;
}
