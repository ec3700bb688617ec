// Errors of platform calls that the library reports to the user, and that
// the simulated Windows gives the same way. The last error is primed with a
// value no call sets, so that a value left by an earlier call cannot pass.
#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

constexpr DWORD kPrimed = 0xdeadbeef;

TEST(WinePlatformErrors, AnUnknownPrinterDoesNotOpen) {
  char name[] = "No Such Printer";
  HANDLE printer = nullptr;
  SetLastError(kPrimed);
  EXPECT_FALSE(OpenPrinterA(name, &printer, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
}

TEST(WinePlatformErrors, AMissingReportFileDoesNotOpen) {
  SetLastError(kPrimed);
  EXPECT_EQ(_lopen("no such report.txt", OF_READ), HFILE_ERROR);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(WinePlatformErrors, AMissingRegistryKeyDoesNotOpen) {
  HKEY key = nullptr;
  SetLastError(kPrimed);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\No Such Key", 0, KEY_QUERY_VALUE, &key),
            ERROR_FILE_NOT_FOUND);
}

}  // namespace
