// A file its owner may not write is read-only, as Windows sees it, though
// others may write it: DeleteFileA leaves it. (A folder as a report, a
// missing file and a plain read-only report are the conformance suite's and
// the shared failure scenario's.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/winapi/winapi.h"

namespace {

TEST(KernelFiles, DeletesNoFileItsOwnerMayNotWrite) {
  char folder[] = "/tmp/kernel-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string path = std::string(folder) + "/owner-read-only.txt";
  FILE* file = fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  fclose(file);
  chmod(path.c_str(), 0466);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(access(path.c_str(), F_OK), 0);
  unlink(path.c_str());
  rmdir(folder);
}

}  // namespace
