// Message boxes and registry reads.
#include <cstring>
#include <string>
#include <vector>

#include "conformance.h"

namespace conformance {
namespace {

using MessageBoxes = ConformanceTest;

TEST_F(MessageBoxes, TheScriptedAnswerComesBack) {
  const struct {
    UINT type;
    int answer;
    bool safe;  // the button a box answers when no one is asked
  } cases[] = {
      {MB_OKCANCEL, IDOK, false},
      {MB_OKCANCEL, IDCANCEL, true},
      {MB_RETRYCANCEL | MB_ICONERROR, IDRETRY, false},
      {MB_OK, IDOK, true},
  };
  for (const auto& c : cases) {
    std::string caption = UniqueName("Plenwick conformance");
    SCOPED_TRACE(caption);
    bool scripted = ScriptMessageBoxAnswer(caption.c_str(), c.answer);
    int answer =
        MessageBoxA(nullptr, "A question of the conformance suite.", caption.c_str(), c.type);
    if (scripted || c.safe) {
      EXPECT_EQ(answer, c.answer);
    } else {
      DIVERGES_ON(kLinux,
                  "no dialogs: a message box answers its safe button, Cancel where it "
                  "has one") {
        EXPECT_EQ(answer, c.answer);
      }
    }
  }
}

// A command word that starts with a slash is a switch on Windows, where no
// path starts with one.
TEST(ShellWords, ASlashWordIsASwitch) {
  const char* words[] = {"/W", "/MAX", "/opt/app/viewer"};
  for (const char* word : words) {
    SCOPED_TRACE(word);
    BOOL path = ShellSlashWordIsPath(word, strlen(word), FALSE);
    if (strchr(word + 1, '/')) {
      DIVERGES_ON(kLinux,
                  "a slash word that holds a second slash, or names an existing file "
                  "and is no known switch, is a path") {
        EXPECT_FALSE(path);
      }
    } else {
      EXPECT_FALSE(path);
    }
  }
}

constexpr const char* kKey = "Software\\PlenwickConformance\\Reads";

class Registry : public ConformanceTest {
 protected:
  void SetUp() override {
    ConformanceTest::SetUp();
    ASSERT_TRUE(PresetRegistryValue(kKey, "Greeting", REG_SZ, std::string("Hello\0", 6)));
    ASSERT_TRUE(PresetRegistryValue(kKey, "Folder", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9)));
    ASSERT_TRUE(PresetRegistryValue(kKey, "Number", REG_DWORD, std::string("\x2A\0\0\0", 4)));
    ASSERT_TRUE(PresetRegistryValue(kKey, "Raw", REG_BINARY, std::string("a\0b", 3)));
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &key_), ERROR_SUCCESS);
  }
  void TearDown() override {
    if (key_) RegCloseKey(key_);
  }
  HKEY key_ = nullptr;
};

// Each value's type and exact bytes; the size alone when no buffer is given.
TEST_F(Registry, ValuesComeBackWithTheirTypeAndBytes) {
  const struct {
    const char* name;
    DWORD type;
    std::string data;
  } cases[] = {
      {"Greeting", REG_SZ, std::string("Hello\0", 6)},
      {"greeting", REG_SZ, std::string("Hello\0", 6)},  // names are not case sensitive
      {"Folder", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9)},
      {"Number", REG_DWORD, std::string("\x2A\0\0\0", 4)},
      {"Raw", REG_BINARY, std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DWORD type = REG_NONE, size = 0;
    ASSERT_EQ(RegQueryValueExA(key_, c.name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.data.size());
    std::vector<BYTE> data(64, 0xCD);
    size = static_cast<DWORD>(data.size());
    ASSERT_EQ(RegQueryValueExA(key_, c.name, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string(data.begin(), data.begin() + size), c.data);
  }
}

TEST_F(Registry, ABufferTooSmallTellsTheSizeNeeded) {
  BYTE data[3];
  DWORD size = sizeof data;
  EXPECT_EQ(RegQueryValueExA(key_, "Greeting", nullptr, nullptr, data, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 6u);
}

TEST_F(Registry, MissingValuesAndKeys) {
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key_, "No Such Value", nullptr, nullptr, nullptr, &size),
            ERROR_FILE_NOT_FOUND);
  HKEY sub = nullptr;
  EXPECT_EQ(RegOpenKeyExA(key_, "No Such Key", 0, KEY_QUERY_VALUE, &sub), ERROR_FILE_NOT_FOUND);
  // A key under an open key, and a name given with a trailing backslash.
  ASSERT_TRUE(
      PresetRegistryValue(std::string(kKey) + "\\Deeper", "Leaf", REG_SZ, std::string("x\0", 2)));
  ASSERT_EQ(RegOpenKeyExA(key_, "Deeper", 0, KEY_QUERY_VALUE, &sub), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(sub, "Leaf", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(sub), ERROR_SUCCESS);
}

}  // namespace
}  // namespace conformance
