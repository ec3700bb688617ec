#include "core/wide_name.h"

#include <cstring>

namespace plenwick {
namespace {

WideString Widened(UINT codePage, const char* text, int length) {
  if (length <= 0) return WideString();
  int count = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
  if (count <= 0) return WideString();
  WideString units(static_cast<size_t>(count), 0);
  MultiByteToWideChar(codePage, 0, text, length, &units[0], count);
  return units;
}

}  // namespace

std::string Utf8Of(LPCWSTR units, int length) {
  if (length <= 0) return std::string();
  int count = WideCharToMultiByte(CP_UTF8, 0, units, length, nullptr, 0, nullptr, nullptr);
  if (count <= 0) return std::string();
  std::string bytes(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(CP_UTF8, 0, units, length, &bytes[0], count, nullptr, nullptr);
  return bytes;
}

std::string AnsiOf(const char* name) {
  WideString units = WideOf(name);
  if (units.empty()) return std::string();
  int length = static_cast<int>(units.size());
  // A machine whose ANSI code page is UTF-8 has no best fit, and refuses
  // the flag: there every character converts.
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  int size =
      WideCharToMultiByte(CP_ACP, flags, units.c_str(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    flags = 0;
    size = WideCharToMultiByte(CP_ACP, flags, units.c_str(), length, nullptr, 0, nullptr, nullptr);
  }
  if (size <= 0) return std::string();
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, flags, units.c_str(), length, &bytes[0], size, nullptr, nullptr);
  return bytes;
}

WideString WideOf(const char* name) {
  int length = static_cast<int>(strlen(name));
  WideString units = Widened(CP_UTF8, name, length);
  // Well-formed UTF-8 comes back byte for byte; anything else was turned
  // into U+FFFD on the way.
  if (Utf8Of(units.c_str(), static_cast<int>(units.size())) == name) return units;
  return Widened(CP_ACP, name, length);
}

}  // namespace plenwick
