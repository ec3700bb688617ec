// The seven entry points of the real DLL, called through a JNI function
// table of our own that counts every string obtained and given back.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "default_printer.h"
#include "fake_jni.h"
#include "plenwick_dll.h"

namespace {

using plenwick_test::FakeJni;
using plenwick_test::PlenwickDll;

class WineNativeMethods : public ::testing::Test {
 protected:
  void SetUp() override {
    dll_ = PlenwickDll::Get();
    ASSERT_NE(dll_, nullptr) << "PLENWICKDLL.dll or one of its entry points is missing";
  }
  void TearDown() override {
    EXPECT_TRUE(jni_.Faults().empty()) << ::testing::PrintToString(jni_.Faults());
    EXPECT_TRUE(jni_.Unbalanced().empty()) << ::testing::PrintToString(jni_.Unbalanced());
  }
  const PlenwickDll* dll_ = nullptr;
  FakeJni jni_{true};  // as HotSpot: every string is handed out as a copy
  JNIEnv* env_ = jni_.env();
};

TEST_F(WineNativeMethods, MethodsWithoutArguments) {
  EXPECT_EQ(dll_->getver(env_, nullptr), 1);
  SKIP_WITHOUT_DEFAULT_PRINTER();
  EXPECT_EQ(jni_.Text(dll_->get_printer_name(env_, nullptr)), "PDF");

  // Print Setup is modal: a helper thread cancels it once it shows.
  std::atomic<bool> returned{false};
  std::thread canceller([&returned] {
    for (int i = 0; i < 200 && !returned; ++i) {
      HWND dialog = FindWindowA(nullptr, "Print Setup");
      if (dialog) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
      }
      Sleep(50);
    }
  });
  EXPECT_EQ(dll_->plenwick_setup(env_, nullptr), JNI_FALSE);
  returned = true;
  canceller.join();
  EXPECT_EQ(jni_.Text(dll_->get_printer_name(env_, nullptr)), "PDF");
}

TEST_F(WineNativeMethods, PlenwickGivesEveryStringBack) {
  EXPECT_EQ(dll_->plenwick(env_, nullptr, jni_.Array({})), JNI_TRUE);
  EXPECT_EQ(jni_.Calls(), std::vector<std::string>{"GetArrayLength(r1)"});
  jobjectArray request =
      jni_.Array({jni_.String("-copies=1"), nullptr, jni_.String("\"no such report.txt\"")});
  EXPECT_EQ(dll_->plenwick(env_, nullptr, request), JNI_TRUE);
}

// A word and the euro sign in the ANSI code pages the suite runs under
// (the locale's own under Wine: 1252 by default, 1251 and 1250 in the
// code page test), as bytes and as Java text.
struct AnsiText {
  UINT codePage;
  const char* bytes;
  const char16_t* text;
};
const AnsiText kAnsiTexts[] = {
    {1252, "caf\xE9 \x80", u"caf\u00e9 \u20ac"},
    {1251, "\xCF\xF0\xE8\xE2\xE5\xF2 \x88", u"\u041f\u0440\u0438\u0432\u0435\u0442 \u20ac"},
    {1250, "\xBF\xF3\xB3\xE6 \x80", u"\u017c\u00f3\u0142\u0107 \u20ac"},
};

// Java text crosses in the ANSI code page both ways: what the code page
// has arrives whole, the rest (and a NUL character) as '?'.
TEST_F(WineNativeMethods, ReadRegistryStringConvertsTheText) {
  const AnsiText* ansi = nullptr;
  for (const AnsiText& t : kAnsiTexts) {
    if (t.codePage == GetACP()) ansi = &t;
  }
  if (!ansi) GTEST_SKIP() << "no text for the ANSI code page " << GetACP();
  const std::string keyName = "Software\\PlenwickTest\\" + std::string(ansi->bytes);
  const std::string value = std::string(ansi->bytes) + " 5";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, "Bridge", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
  RegCloseKey(key);
  const jint currentUser = static_cast<jint>(0x80000001u);
  const std::u16string text = ansi->text;
  jstring read = dll_->read_registry_string(env_, nullptr, currentUser,
                                            jni_.String(u"Software\\PlenwickTest\\" + text),
                                            jni_.String("Bridge"));
  EXPECT_EQ(jni_.Units(read), text + u" 5");
  std::u16string foreign = text + u" a";
  foreign += u'\0';
  foreign += u"b\u4e2d";
  jstring missing = dll_->read_registry_string(env_, nullptr, currentUser, jni_.String(foreign),
                                               jni_.String("x"));
  EXPECT_EQ(jni_.Units(missing),
            u"**ERROR** RegOpenKeyEx() Registry Key not found: " + text + u" a?b?");
}

}  // namespace
