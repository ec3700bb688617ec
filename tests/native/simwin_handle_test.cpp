// The simulated Windows keeps a promise of the real one that the owners
// rely on: a handle of one kind is never the handle of another kind.
#include <set>

#include "test_support.h"

namespace {

using SimwinHandleTest = plenwick_test::SimTest;

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(SimwinHandleTest, HandlesOfDifferentKindsNeverShareAValue) {
  HDC dc = CreateDCA("WINSPOOL", "PDF", nullptr, nullptr);
  SHELLEXECUTEINFOA shell{};
  shell.cbSize = sizeof shell;
  shell.fMask = SEE_MASK_NOCLOSEPROCESS;
  shell.lpFile = "notepad.exe";
  ASSERT_TRUE(ShellExecuteExA(&shell));
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
  LOGFONTA logFont{};
  HFONT font = CreateFontIndirectA(&logFont);
  HANDLE printer = nullptr;
  char name[] = "PDF";
  ASSERT_TRUE(OpenPrinterA(name, &printer, nullptr));
  HWND window = CreateDialogParamA(nullptr, "AbrtDlg", nullptr, QuietDialog, 0);

  std::set<const void*> values{dc, shell.hProcess, block, key, font, printer, window};
  EXPECT_EQ(values.size(), 7u);
  EXPECT_EQ(values.count(nullptr), 0u);

  // Each release call takes only its own kind of handle.
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(dc)));
  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(shell.hProcess)));
  EXPECT_FALSE(ClosePrinter(block));
  EXPECT_EQ(simwin::OpenHandleCount(), 6u);  // all but the block, which is not locked

  EXPECT_TRUE(CloseHandle(shell.hProcess));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_TRUE(ClosePrinter(printer));
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(simwin::OpenHandleCount(), 0u);
}

}  // namespace
