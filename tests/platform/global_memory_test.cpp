// Global memory as the print dialog's blocks use it: a movable block keeps
// its bytes from one lock to the next, and the lock count answers as
// Windows' does, so an unlock too many is told apart from the last one.
#include <cstring>

#include "conformance.h"

namespace conformance {
namespace {

using GlobalMemory = ConformanceTest;

TEST_F(GlobalMemory, AZeroedBlockKeepsItsBytesFromOneLockToTheNext) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64);
  ASSERT_NE(block, nullptr);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(bytes[i], 0) << i;
  memcpy(bytes, "kept", 5);
  GlobalUnlock(block);
  const char* again = static_cast<const char*>(GlobalLock(block));
  ASSERT_NE(again, nullptr);
  EXPECT_STREQ(again, "kept");
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST_F(GlobalMemory, UnlockCountsDownAndRefusesOneTooMany) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
  ASSERT_NE(block, nullptr);
  ASSERT_NE(GlobalLock(block), nullptr);
  ASSERT_NE(GlobalLock(block), nullptr);
  EXPECT_TRUE(GlobalUnlock(block));  // still locked once
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(GlobalUnlock(block));  // the last unlock
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(GlobalUnlock(block));  // one too many
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST_F(GlobalMemory, ALockedBlockIsFreedAndThenStale) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
  ASSERT_NE(block, nullptr);
  ASSERT_NE(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalFree(block), nullptr);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(GlobalMemory, ABlockOfNoBytesHasNothingToLock) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(block, nullptr);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISCARDED));
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST_F(GlobalMemory, FreeingNoBlockIsNoError) {
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
}

}  // namespace
}  // namespace conformance
