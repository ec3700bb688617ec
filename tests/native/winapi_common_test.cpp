// What the simulated Windows and the Linux platform share beneath their
// Win32 functions: a back end's own text for the last error, and the blocks
// the print dialog hands out (the system's texts and MulDiv are the
// conformance suite's).
#include <cstring>

#include "platform/handles.h"
#include "platform/winapi/common.h"
#include "test_support.h"

namespace {

using plenwick::GlobalLockGuard;

class WinapiCommon : public plenwick_test::SimTest {};

std::string Message(DWORD code) {
  char text[256] = "";
  DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, text, sizeof text, nullptr);
  return std::string(text, length);
}

// A print server's refusal reaches FormatMessageA for as long as it is the
// last error, and in an allocated text too; the next error has its own.
TEST_F(WinapiCommon, BackEndTextGoesWithItsLastError) {
  winapi::SetLastErrorText(ERROR_ACCESS_DENIED, "Destination \"PDF\" is not accepting jobs.");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Message(ERROR_ACCESS_DENIED), "Destination \"PDF\" is not accepting jobs.\r\n");
  EXPECT_EQ(Message(ERROR_FILE_NOT_FOUND), "File not found.\r\n");
  LPSTR allocated = nullptr;
  ASSERT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
                           ERROR_ACCESS_DENIED, 0, reinterpret_cast<LPSTR>(&allocated), 0, nullptr),
            0u);
  EXPECT_STREQ(allocated, "Destination \"PDF\" is not accepting jobs.\r\n");
  LocalFree(allocated);
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(Message(ERROR_ACCESS_DENIED), "Access denied.\r\n");
  // Too small a buffer gets nothing, not a cut text.
  winapi::SetLastErrorText(ERROR_ACCESS_DENIED, std::string(300, 'x'));
  char small[16] = "";
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, small,
                           sizeof small, nullptr),
            0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(WinapiCommon, DevNamesBlockHoldsTheThreeNames) {
  HGLOBAL block = winapi::NewDevNamesBlock("winspool", "Office", "IP_10.0.0.9");
  ASSERT_NE(block, nullptr);
  {
    GlobalLockGuard<DEVNAMES> names(block);
    const char* base = reinterpret_cast<const char*>(names.get());
    EXPECT_STREQ(base + names->wDriverOffset, "winspool");
    EXPECT_STREQ(base + names->wDeviceOffset, "Office");
    EXPECT_STREQ(base + names->wOutputOffset, "IP_10.0.0.9");
    EXPECT_EQ(names->wDefault, 1);
  }
  GlobalFree(block);
  // Offsets are 16 bits: names that would run past them give no block.
  EXPECT_EQ(winapi::NewDevNamesBlock("winspool", std::string(70000, 'n'), "LPT1:"), nullptr);
  EXPECT_EQ(winapi::NewDevNamesBlock("winspool", "Office", std::string(65530, 'p')), nullptr);
}

TEST_F(WinapiCommon, DevModeBlockKeepsTheDriversExtraBytes) {
  std::vector<unsigned char> bytes(sizeof(DEVMODEA) + 4);
  auto* mode = reinterpret_cast<DEVMODEA*>(bytes.data());
  mode->dmSize = sizeof(DEVMODEA);
  mode->dmDriverExtra = 4;
  mode->dmCopies = 3;
  memcpy(bytes.data() + sizeof(DEVMODEA), "XTRA", 4);
  HGLOBAL block = winapi::NewDevModeBlock(*mode);
  ASSERT_NE(block, nullptr);
  {
    GlobalLockGuard<unsigned char> copy(block);
    EXPECT_EQ(memcmp(copy.get(), bytes.data(), bytes.size()), 0);
  }
  GlobalFree(block);
}

}  // namespace
