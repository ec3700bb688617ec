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

// Java text crosses whole both ways, whatever the ANSI code page: a key
// named in characters it lacks reads back, and only a NUL character
// becomes '?'. The 64-bit DLL also finds a value a 32-bit installer wrote.
TEST_F(WineNativeMethods, ReadRegistryStringConvertsTheText) {
  const std::wstring name = L"\u0141\u00f3d\u017a \u5831\u544a \u00e9";
  // The 32-bit view keeps HKEY_LOCAL_MACHINE\\Software apart.
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    HKEY key = nullptr;
    std::wstring path = L"Software\\PlenwickTest\\" + name;
    REGSAM view = root == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    std::wstring value = name + L" 5";
    ASSERT_EQ(
        RegSetValueExW(key, L"Bridge", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR))),
        ERROR_SUCCESS);
    RegCloseKey(key);
  }
  const jint currentUser = static_cast<jint>(0x80000001u);
  const std::u16string text = u"\u0141\u00f3d\u017a \u5831\u544a \u00e9";
  jstring read = dll_->read_registry_string(env_, nullptr, currentUser,
                                            jni_.String(u"Software\\PlenwickTest\\" + text),
                                            jni_.String("Bridge"));
  EXPECT_EQ(jni_.Units(read), text + u" 5");
  jstring missing = dll_->read_registry_string(env_, nullptr, currentUser,
                                               jni_.String(text + u'\0' + u"b"), jni_.String("x"));
  EXPECT_EQ(jni_.Units(missing),
            u"**ERROR** RegOpenKeyEx() Registry Key not found: " + text + u"?b");
  jstring view = dll_->read_registry_string(env_, nullptr, static_cast<jint>(0x80000002u),
                                            jni_.String(u"Software\\PlenwickTest\\" + text),
                                            jni_.String("Bridge"));
  EXPECT_EQ(jni_.Units(view), text + u" 5");
}

}  // namespace
