// Shell launches through the real DLL's entry points: launch_target.exe
// (built beside this test) writes its command line and show state into a
// marker file after a short pause.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "fake_jni.h"
#include "plenwick_dll.h"

namespace {

using plenwick_test::FakeJni;
using plenwick_test::PlenwickDll;

std::string Folder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

class WineShellLaunch : public ::testing::Test {
 protected:
  void SetUp() override {
    dll_ = PlenwickDll::Get();
    ASSERT_NE(dll_, nullptr);
    target_ = Folder() + "\\launch_target.exe";
    marker_ = Folder() + "\\launch_target.marker";
    DeleteFileA(marker_.c_str());
    SetEnvironmentVariableA("PLENWICK_MARKER", marker_.c_str());  // the program inherits it
  }
  void TearDown() override {
    EXPECT_TRUE(jni_.Faults().empty()) << ::testing::PrintToString(jni_.Faults());
    EXPECT_TRUE(jni_.Unbalanced().empty()) << ::testing::PrintToString(jni_.Unbalanced());
    DeleteFileA(marker_.c_str());
  }

  void Shellexec(const std::string& command) {
    EXPECT_EQ(dll_->shellexec(env_, nullptr, jni_.Array({jni_.String(command)})), JNI_TRUE);
  }
  // The marker as it is now: empty when the program has not written it.
  std::string Marker() const {
    std::ifstream in(marker_, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
  }
  static bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
  }

  const PlenwickDll* dll_ = nullptr;
  FakeJni jni_{true};
  JNIEnv* env_ = jni_.env();
  std::string target_;
  std::string marker_;
};

TEST_F(WineShellLaunch, WaitSwitchReturnsOnlyAfterTheProgramEnded) {
  Shellexec("/W " + target_ + " one two");
  std::string marker = Marker();  // at once: the program has ended already
  ASSERT_FALSE(marker.empty());
  std::string commandLine = marker.substr(0, marker.find('\n'));
  EXPECT_TRUE(EndsWith(commandLine, " one two")) << commandLine;
  EXPECT_NE(commandLine.find("launch_target.exe"), std::string::npos) << commandLine;
  EXPECT_NE(marker.find("show=1\n"), std::string::npos) << marker;
}

TEST_F(WineShellLaunch, ShowSwitchesCountOnlyInShellexec) {
  struct Case {
    bool shellexec;
    const char* switches;
    const char* show;
  };
  const Case cases[] = {{true, "/W /MA ", "show=3\n"},
                        {true, "/MA /W /MI ", "show=7\n"},
                        {false, "/W /MA ", "show=1\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.shellexec ? "shellexec " : "launch_document ") + c.switches);
    DeleteFileA(marker_.c_str());
    std::string command = c.switches + target_;
    if (c.shellexec) {
      Shellexec(command);
    } else {
      EXPECT_EQ(dll_->launch_document(env_, nullptr, jni_.String("open"), jni_.String(command)),
                JNI_TRUE);
    }
    EXPECT_NE(Marker().find(c.show), std::string::npos) << Marker();
  }
}

// The folder's name is one the ANSI code page cannot spell.
TEST_F(WineShellLaunch, QuotedNameWithBlanksAndNoVerb) {
  std::string ascii = Folder();
  std::wstring folder = std::wstring(ascii.begin(), ascii.end()) +
                        L"\\folder with blanks \u0141\u00f3d\u017a \u5831\u544a";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring copy = folder + L"\\launch_target.exe";
  ASSERT_TRUE(CopyFileW(std::wstring(target_.begin(), target_.end()).c_str(), copy.c_str(), FALSE));
  std::wstring command = L"/W \"" + copy + L"\" x  y";
  EXPECT_EQ(dll_->launch_document(env_, nullptr, jni_.String("**NULL**"),
                                  jni_.String(std::u16string(command.begin(), command.end()))),
            JNI_TRUE);
  std::string marker = Marker();
  std::string commandLine = marker.substr(0, marker.find('\n'));
  EXPECT_NE(commandLine.find("folder with blanks"), std::string::npos) << commandLine;
  EXPECT_TRUE(EndsWith(commandLine, " x  y")) << commandLine;
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
