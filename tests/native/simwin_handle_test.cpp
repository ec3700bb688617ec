// The simulated Windows keeps a promise of the real one that the owners
// rely on: a handle of one kind is never the handle of another kind. The
// kinds every platform has are held to it by the conformance suite
// (tests/platform/); processes and windows, which only the simulated
// Windows makes here, are checked against the others.
#include <set>

#include "test_support.h"

namespace {

using SimwinHandleTest = plenwick_test::SimTest;

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(SimwinHandleTest, ProcessesAndWindowsShareNoValueWithOtherKinds) {
  HDC dc = CreateDCA("WINSPOOL", "PDF", nullptr, nullptr);
  SHELLEXECUTEINFOA shell{};
  shell.cbSize = sizeof shell;
  shell.fMask = SEE_MASK_NOCLOSEPROCESS;
  shell.lpFile = "notepad.exe";
  ASSERT_TRUE(ShellExecuteExA(&shell));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
  HWND window = CreateDialogParamA(nullptr, "AbrtDlg", nullptr, QuietDialog, 0);

  std::set<const void*> values{dc, shell.hProcess, key, window};
  EXPECT_EQ(values.size(), 4u);
  EXPECT_EQ(values.count(nullptr), 0u);

  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(dc)));
  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(shell.hProcess)));
  EXPECT_FALSE(DestroyWindow(reinterpret_cast<HWND>(key)));
  EXPECT_EQ(simwin::OpenHandleCount(), 4u);

  EXPECT_TRUE(CloseHandle(shell.hProcess));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(simwin::OpenHandleCount(), 0u);
}

}  // namespace
