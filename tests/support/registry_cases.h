// Registry values and the text that each gives, shared by the tests on the
// simulated Windows and those against Wine's registry.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace plenwick_test {

struct RegistryCase {
  const char* name;
  DWORD type;
  std::string data;  // the raw bytes stored
  std::string text;  // what the read gives
};

inline std::vector<RegistryCase> RegistryCases() {
  const std::string longest(255, 'x');
  const std::string full(256, 'y');
  return {
      {"Text", REG_SZ, std::string("hello\0", 6), "hello"},
      {"Expand", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9), "%TEMP%\\x"},
      {"Multi", REG_MULTI_SZ, std::string("one\0two\0\0", 9), "one"},
      {"Number", REG_DWORD, std::string("\0\1\0\0", 4), ""},
      {"Letter", REG_DWORD, std::string("A\0\0\0", 4), "A"},
      {"Empty", REG_BINARY, "", ""},
      {"Short", REG_BINARY, "ab", "ab"},  // no terminator: never beyond the bytes returned
      {"Longest", REG_SZ, longest + '\0', longest},
      {"Full", REG_BINARY, full, full},  // 256 bytes without a terminator come back whole
      {"TooLong", REG_SZ, full + '\0', "**ERROR** RegQueryValueEx() Data Value not found: TooLong"},
  };
}

}  // namespace plenwick_test
