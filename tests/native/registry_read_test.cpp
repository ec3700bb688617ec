#include "services/registry_read.h"

#include <cstring>

#include "registry_cases.h"
#include "test_support.h"

namespace {

const char kKey[] = "Software\\PlenwickTest";

class RegistryReadTest : public plenwick_test::SimTest {
 protected:
  // Reads into a buffer full of 'Z', so that any byte taken from beyond
  // the value, or left without a terminator, shows.
  std::string Read(HKEY root, const std::string& subKey, const std::string& valueName) {
    memset(result_.text, 'Z', sizeof result_.text);
    plenwick::ReadRegistryString(root, subKey.c_str(), valueName.c_str(), result_);
    EXPECT_LT(strnlen(result_.text, sizeof result_.text), sizeof result_.text);
    return result_.text;
  }
  plenwick::RegistryText result_;
};

TEST_F(RegistryReadTest, TextOfEachKindOfValue) {
  const auto cases = plenwick_test::RegistryCases();
  for (const auto& c : cases)
    simwin::SetRegistryValue(HKEY_CURRENT_USER, kKey, c.name, c.type, c.data);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, kKey, c.name), c.text);
  }
  EXPECT_EQ(simwin::OpenKeyCount(), 0u);
}

TEST_F(RegistryReadTest, OpensQueriesAndClosesAsTheCallerAsked) {
  simwin::SetRegistryValue(HKEY_CURRENT_USER, kKey, "", REG_SZ, std::string("default\0", 8));
  simwin::SetRegistryValue(HKEY_LOCAL_MACHINE, "", "AtRoot", REG_SZ, std::string("root\0", 5));
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kKey, ""), "default");
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, "", "AtRoot"), "root");
  std::vector<std::string> expected = {"RegOpenKeyExA(Software\\PlenwickTest, 0, 0x1) = 0",
                                       "RegQueryValueExA(, 1024) = 0",
                                       "RegCloseKey() = 0",
                                       "RegOpenKeyExA(, 0, 0x1) = 0",
                                       "RegQueryValueExA(AtRoot, 1024) = 0",
                                       "RegCloseKey() = 0"};
  EXPECT_EQ(simwin::RegistryEvents(), expected);
}

TEST_F(RegistryReadTest, FailuresNameTheSubKeyOrTheValue) {
  EXPECT_EQ(Read(HKEY_CURRENT_USER, "Software\\Missing", "x"),
            "**ERROR** RegOpenKeyEx() Registry Key not found: Software\\Missing");
  HKEY notAKey = reinterpret_cast<HKEY>(static_cast<intptr_t>(0x1234));
  EXPECT_EQ(Read(notAKey, "Software", "x"),
            "**ERROR** RegOpenKeyEx() Registry Key not found: Software");
  simwin::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, kKey, "Nothing"),
            "**ERROR** RegQueryValueEx() Data Value not found: Nothing");
  // A key that was never opened is never closed.
  // What is not found is looked for in the 32-bit view too; a bad handle is
  // not.
  std::vector<std::string> expected = {"RegOpenKeyExA(Software\\Missing, 0, 0x1) = 2",
                                       "RegOpenKeyExA(Software\\Missing, 0, 0x201) = 2",
                                       "RegOpenKeyExA(Software, 0, 0x1) = 6",
                                       "RegOpenKeyExA(Software\\PlenwickTest, 0, 0x1) = 0",
                                       "RegQueryValueExA(Nothing, 1024) = 2",
                                       "RegCloseKey() = 0",
                                       "RegOpenKeyExA(Software\\PlenwickTest, 0, 0x201) = 0",
                                       "RegQueryValueExA(Nothing, 1024) = 2",
                                       "RegCloseKey() = 0"};
  EXPECT_EQ(simwin::RegistryEvents(), expected);
  EXPECT_EQ(simwin::OpenKeyCount(), 0u);
}

// A 64-bit process finds what a 32-bit installer wrote (the 32-bit view),
// but its own view's value first.
TEST_F(RegistryReadTest, SixtyFourBitProcessReadsTheThirtyTwoBitView) {
  simwin::SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\WOW6432Node\\Vendor", "Home", REG_SZ,
                           std::string("C:\\Old\0", 7));
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, "Software\\Vendor", "Home"), "C:\\Old");
  simwin::SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Vendor", "Other", REG_SZ, "x");
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, "Software\\Vendor", "Home"), "C:\\Old");
  simwin::SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Vendor", "Home", REG_SZ, "New");
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, "Software\\Vendor", "Home"), "New");
}

TEST_F(RegistryReadTest, OverLongNamesAreCutInTheMessage) {
  simwin::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
  std::string longName(300, 'n');
  std::string openMessage = Read(HKEY_CURRENT_USER, longName, "x");
  EXPECT_EQ(openMessage.size(), 255u);
  EXPECT_EQ(openMessage,
            ("**ERROR** RegOpenKeyEx() Registry Key not found: " + longName).substr(0, 255));
  EXPECT_EQ(result_.text[256], 'Z');  // the extra byte is not used for messages
  std::string queryMessage = Read(HKEY_CURRENT_USER, kKey, longName);
  EXPECT_EQ(queryMessage,
            ("**ERROR** RegQueryValueEx() Data Value not found: " + longName).substr(0, 255));
}

}  // namespace
