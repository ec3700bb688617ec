// Registry reads against Wine's real registry, with values this test
// writes under HKEY_CURRENT_USER\Software\PlenwickTest.
#include "services/registry_read.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry_cases.h"

namespace {

const char kKey[] = "Software\\PlenwickTest";

class WineRegistryRead : public ::testing::Test {
 protected:
  static void SetValue(const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS)
        << name;
    RegCloseKey(key);
  }
  // Reads into a buffer full of 'Z': a byte from beyond the value shows.
  static std::string Read(HKEY root, const char* subKey, const char* valueName) {
    plenwick::RegistryText result;
    memset(result.text, 'Z', sizeof result.text);
    plenwick::ReadRegistryString(root, subKey, valueName, result);
    return std::string(result.text, strnlen(result.text, sizeof result.text));
  }
};

TEST_F(WineRegistryRead, TextOfEachKindOfValue) {
  auto cases = plenwick_test::RegistryCases();
  // 256 characters stored as a string through the ANSI call gain a
  // terminator there, and so no longer fit.
  cases.push_back({"FullString", REG_SZ, std::string(256, 'y'),
                   "**ERROR** RegQueryValueEx() Data Value not found: FullString"});
  for (const auto& c : cases) SetValue(c.name, c.type, c.data);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, kKey, c.name), c.text);
  }
}

TEST_F(WineRegistryRead, FailuresNameTheSubKeyOrTheValue) {
  SetValue("", REG_SZ, std::string("default\0", 8));
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kKey, ""), "default");
  EXPECT_EQ(Read(HKEY_CURRENT_USER, "Software\\PlenwickMissing", "x"),
            "**ERROR** RegOpenKeyEx() Registry Key not found: Software\\PlenwickMissing");
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kKey, "Nothing"),
            "**ERROR** RegQueryValueEx() Data Value not found: Nothing");
  HKEY notAKey = reinterpret_cast<HKEY>(static_cast<intptr_t>(0x1234));
  EXPECT_EQ(Read(notAKey, "Software", "x"),
            "**ERROR** RegOpenKeyEx() Registry Key not found: Software");
}

}  // namespace
