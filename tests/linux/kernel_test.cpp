// Report files on POSIX as Windows treats them: a directory is no file to
// open, and a read-only file is not deleted.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/winapi/winapi.h"

namespace {

class KernelFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kernel-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { ASSERT_EQ(system(("rm -rf '" + folder_ + "'").c_str()), 0); }
  std::string Make(const char* name, mode_t mode) {
    std::string path = folder_ + "/" + name;
    FILE* file = fopen(path.c_str(), "w");
    fputs("report\r\n", file);
    fclose(file);
    chmod(path.c_str(), mode);
    return path;
  }
  std::string folder_;
};

TEST_F(KernelFiles, OpensFilesButNoDirectory) {
  std::string file = Make("report.txt", 0644);
  std::string readOnly = Make("read-only.txt", 0444);
  struct Case {
    std::string path;
    bool opens;
    DWORD error;
  } cases[] = {
      {file, true, 0},
      {readOnly, true, 0},
      {folder_, false, ERROR_ACCESS_DENIED},
      {folder_ + "/", false, ERROR_ACCESS_DENIED},
      {folder_ + "/missing.txt", false, ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(0xdeadbeef);
    HFILE handle = _lopen(c.path.c_str(), OF_READ);
    EXPECT_EQ(handle != HFILE_ERROR, c.opens) << c.path;
    if (handle != HFILE_ERROR) {
      _lclose(handle);
    } else {
      EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
  }
}

TEST_F(KernelFiles, DeletesNoReadOnlyFile) {
  std::string file = Make("report.txt", 0644);
  std::string readOnly = Make("read-only.txt", 0444);
  std::string ownerReadOnly = Make("owner-read-only.txt", 0466);
  struct Case {
    std::string path;
    BOOL deleted;
    DWORD error;
  } cases[] = {
      {file, TRUE, 0},
      {readOnly, FALSE, ERROR_ACCESS_DENIED},
      {ownerReadOnly, FALSE, ERROR_ACCESS_DENIED},
      {folder_ + "/missing.txt", FALSE, ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(DeleteFileA(c.path.c_str()), c.deleted) << c.path;
    EXPECT_EQ(access(c.path.c_str(), F_OK) == 0, c.error == ERROR_ACCESS_DENIED) << c.path;
    if (!c.deleted) {
      EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
  }
}

// The Linux platform's answers where it once drifted from the simulated
// Windows: the bottom of MulDiv's range, and a text for every error it sets.
TEST(KernelShared, AnswersAsTheSimulatedWindows) {
  EXPECT_EQ(MulDiv(INT32_MIN, 1, 1), -1);
  EXPECT_EQ(MulDiv(-INT32_MAX, 1, 1), -INT32_MAX);
  char text[64] = "";
  EXPECT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_NOT_ENOUGH_MEMORY, 0, text,
                           sizeof text, nullptr),
            0u);
  EXPECT_STREQ(text, "Not enough memory.\r\n");
}

}  // namespace
