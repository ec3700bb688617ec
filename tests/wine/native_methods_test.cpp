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

// Java text crosses in the ANSI code page both ways: what the code page
// has arrives whole, the rest (and a NUL character) as '?'.
TEST_F(WineNativeMethods, ReadRegistryStringConvertsTheText) {
  if (GetACP() != 1252) GTEST_SKIP() << "ANSI code page " << GetACP() << ", not 1252";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\PlenwickTest\\Caf\xE9", 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, "Bridge", 0, REG_SZ, reinterpret_cast<const BYTE*>("caf\xE9 \x80 5"),
                           10),
            ERROR_SUCCESS);
  RegCloseKey(key);
  const jint currentUser = static_cast<jint>(0x80000001u);
  jstring value = dll_->read_registry_string(env_, nullptr, currentUser,
                                             jni_.String("Software\\PlenwickTest\\Caf\u00e9"),
                                             jni_.String("Bridge"));
  EXPECT_EQ(jni_.Units(value), u"caf\u00e9 \u20ac 5");
  std::u16string foreign = u"\u00e9\u20ac a";
  foreign += u'\0';
  foreign += u"b\u4e2d";
  jstring missing = dll_->read_registry_string(env_, nullptr, currentUser, jni_.String(foreign),
                                               jni_.String("x"));
  EXPECT_EQ(jni_.Units(missing),
            u"**ERROR** RegOpenKeyEx() Registry Key not found: \u00e9\u20ac a?b?");
}

}  // namespace
