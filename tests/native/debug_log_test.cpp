#include <dirent.h>

#include "core/debug_log.h"
#include "test_support.h"

namespace {

class DebugLogTest : public plenwick_test::SimTest {};

int OpenDescriptors() {
  int count = 0;
  DIR* dir = opendir("/proc/self/fd");
  while (readdir(dir)) ++count;
  closedir(dir);
  return count;
}

TEST_F(DebugLogTest, OffWithoutEnvironmentOrOption) {
  plenwick::DebugLog("nothing %d\n", 1);
  EXPECT_FALSE(Exists(Path("debug.log")));
}

TEST_F(DebugLogTest, EnvironmentNamesTheFileAndMessagesAreWrittenAsGiven) {
  std::string log = EnableLog();
  WriteFile("debug.log", "old content that is truncated\n");
  plenwick::ResetDebugLogState();
  plenwick::DebugLog("argc = [%d]\n", 3);
  plenwick::DebugLog("%s-%i-%x", "a", -2, 255);
  EXPECT_EQ(ReadFile(log), "argc = [3]\na--2-ff");
}

TEST_F(DebugLogTest, EnvironmentIsReadOncePerProcess) {
  plenwick::DebugLog("settles the state\n");
  setenv("PLENWICK_DEBUG", Path("late.log").c_str(), 1);
  plenwick::DebugLog("still off\n");
  EXPECT_FALSE(Exists(Path("late.log")));
}

TEST_F(DebugLogTest, UnwritableEnvironmentFileKeepsTheLogOffUntilAnOption) {
  setenv("PLENWICK_DEBUG", Path("no/such/folder/debug.log").c_str(), 1);
  plenwick::DebugLog("lost\n");
  ASSERT_TRUE(plenwick::RedirectDebugLog(Path("option.log").c_str()));
  plenwick::DebugLog("kept\n");
  EXPECT_EQ(ReadFile(Path("option.log")), "kept\n");
}

TEST_F(DebugLogTest, RedirectClosesThePreviousFile) {
  EnableLog();
  plenwick::DebugLog("first\n");
  int before = OpenDescriptors();
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(plenwick::RedirectDebugLog(Path("r" + std::to_string(i) + ".log").c_str()));
    plenwick::DebugLog("message %d\n", i);
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(ReadFile(Path("r4.log")), "message 4\n");
  EXPECT_EQ(ReadFile(Path("r3.log")), "message 3\n");
}

TEST_F(DebugLogTest, FailedRedirectDropsTheDestination) {
  std::string log = EnableLog();
  plenwick::DebugLog("before\n");
  EXPECT_FALSE(plenwick::RedirectDebugLog(Path("missing/dir.log").c_str()));
  plenwick::DebugLog("after\n");
  EXPECT_EQ(ReadFile(log), "before\n");
}

TEST_F(DebugLogTest, RedirectToTheSameFileStartsItAfresh) {
  std::string log = EnableLog();
  plenwick::DebugLog("one\n");
  ASSERT_TRUE(plenwick::RedirectDebugLog(log.c_str()));
  plenwick::DebugLog("two\n");
  EXPECT_EQ(ReadFile(log), "two\n");
}

}  // namespace
