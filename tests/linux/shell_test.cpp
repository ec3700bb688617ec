// Launching on Linux as the Java side does it: programs by absolute or
// quoted path, documents through xdg-open and lp, children that get
// nothing of the host, and children nobody waits for.
#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "services/shell_launch.h"

namespace {

using plenwick::LaunchShellCommand;

std::string ReadAll(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteScript(const std::string& path, const std::string& body) {
  std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
  chmod(path.c_str(), 0755);
}

// A folder with blanks in its name, a program in it that writes its
// arguments next to itself, a document, and stand-ins for xdg-open and lp
// first on PATH that write theirs.
class LinuxShell : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/shell-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    folder_ = root_ + "/dir with blanks";
    mkdir(folder_.c_str(), 0755);
    mkdir((root_ + "/bin").c_str(), 0755);
    const char* record = "printf '%s|' \"$@\" >\"$(dirname \"$0\")/$(basename \"$0\").args\"";
    WriteScript(folder_ + "/target.sh", record);
    WriteScript(root_ + "/viewer", record);
    WriteScript(root_ + "/bin/xdg-open", record);
    WriteScript(root_ + "/bin/lp", record);
    std::ofstream(folder_ + "/doc.txt") << "a document\n";
    path_ = getenv("PATH");
    setenv("PATH", (root_ + "/bin:" + path_).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", path_.c_str(), 1);
    ASSERT_EQ(system(("rm -rf '" + root_ + "'").c_str()), 0);
  }
  std::string root_, folder_, path_;
};

TEST_F(LinuxShell, LaunchesByAbsoluteOrQuotedPath) {
  struct Case {
    std::string command;
    const char* verb;
    std::string recorder;  // where the launched program wrote its arguments
    std::string arguments;
  } cases[] = {
      {"/W " + root_ + "/viewer date -u", nullptr, root_ + "/viewer.args", "date|-u|"},
      {"/W /MA " + root_ + "/viewer x", nullptr, root_ + "/viewer.args", "x|"},
      {"/Wait \"" + folder_ + "/target.sh\" x y", nullptr, folder_ + "/target.sh.args", "x|y|"},
      {"/W \"" + folder_ + "/doc.txt\"", nullptr, root_ + "/bin/xdg-open.args",
       folder_ + "/doc.txt|"},
      {"/W \"" + folder_ + "/doc.txt\"", "print", root_ + "/bin/lp.args",
       "--|" + folder_ + "/doc.txt|"},
      {"/W \"" + folder_ + "/doc.txt\"", "open", root_ + "/bin/xdg-open.args",
       folder_ + "/doc.txt|"},
      // A document named like an option reaches the opener as a path.
      {"/W --version", "open", root_ + "/bin/xdg-open.args", "./--version|"},
      {"/W -report.txt", nullptr, root_ + "/bin/xdg-open.args", "./-report.txt|"},
      {"/W -report.txt", "print", root_ + "/bin/lp.args", "--|-report.txt|"},
  };
  for (const Case& c : cases) {
    remove(c.recorder.c_str());
    LaunchShellCommand(c.command.c_str(), c.verb, true);
    // The wait switch holds the call until the program has written.
    EXPECT_EQ(ReadAll(c.recorder), c.arguments) << c.command;
  }
}

// A virtual machine sets the C library's locale from the environment; the
// verbs mean the same under every locale, Turkish (where I and i are not
// one letter's two cases) included.
TEST_F(LinuxShell, VerbsReadAlikeUnderEveryLocale) {
  const std::string doc = "\"" + folder_ + "/doc.txt\"";
  struct Case {
    const char* verb;
    std::string recorder;
    std::string arguments;
  } cases[] = {
      {"PRINT", root_ + "/bin/lp.args", "--|" + folder_ + "/doc.txt|"},
      {"Print", root_ + "/bin/lp.args", "--|" + folder_ + "/doc.txt|"},
      {"OPEN", root_ + "/bin/xdg-open.args", folder_ + "/doc.txt|"},
      {"EDIT", root_ + "/bin/xdg-open.args", folder_ + "/doc.txt|"},
      {"EXPLORE", root_ + "/bin/xdg-open.args", folder_ + "/doc.txt|"},
  };
  for (const char* name : {"tr_TR.UTF-8", "de_DE.UTF-8", "C"}) {
    ASSERT_NE(setlocale(LC_ALL, name), nullptr)
        << name << " is not generated (see scripts/lib/packages.sh)";
    for (const Case& c : cases) {
      remove(c.recorder.c_str());
      LaunchShellCommand(("/W " + doc).c_str(), c.verb, false);
      EXPECT_EQ(ReadAll(c.recorder), c.arguments) << name << ": " << c.verb;
    }
  }
  setlocale(LC_ALL, "C");
}

// The host's file descriptors and signal settings stay with the host.
TEST_F(LinuxShell, ChildrenGetNothingOfTheHost) {
  int inherited = open("/dev/null", O_RDONLY);  // without O_CLOEXEC
  ASSERT_GE(inherited, 3);
  sigset_t quit, previous;
  sigemptyset(&quit);
  sigaddset(&quit, SIGQUIT);
  pthread_sigmask(SIG_BLOCK, &quit, &previous);
  struct sigaction ignore {
  }, previousInt{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGINT, &ignore, &previousInt);

  WriteScript(root_ + "/bin/probe",
              "cd \"$(dirname \"$0\")/..\"; [ -e /proc/$$/fd/$1 ] && echo inherited >fd; "
              "exec grep -E '^Sig(Blk|Ign)' /proc/self/status >signals");
  LaunchShellCommand(("/W probe " + std::to_string(inherited)).c_str(), nullptr, true);

  sigaction(SIGINT, &previousInt, nullptr);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  close(inherited);

  EXPECT_EQ(ReadAll(root_ + "/fd"), "") << "the child has the host's descriptor " << inherited;
  // Read by the program the child became, so no fork of the shell's is
  // seen half-way.
  std::string signals = ReadAll(root_ + "/signals");
  unsigned long long blocked = ~0ull, ignored = ~0ull;
  ASSERT_EQ(sscanf(signals.c_str(), "SigBlk: %llx SigIgn: %llx", &blocked, &ignored), 2) << signals;
  EXPECT_EQ(blocked & (1ull << (SIGQUIT - 1)), 0u) << signals;
  EXPECT_EQ(ignored & (1ull << (SIGINT - 1)), 0u) << signals;
}

size_t ThreadCount() {
  size_t count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks)) count += entry->d_name[0] != '.';
    closedir(tasks);
  }
  return count;
}

// This process's children, running or ended and not yet reaped.
size_t ChildCount() {
  size_t count = 0;
  std::string self = std::to_string(getpid());
  if (DIR* processes = opendir("/proc")) {
    while (dirent* entry = readdir(processes)) {
      std::ifstream status(std::string("/proc/") + entry->d_name + "/status");
      std::string line;
      while (std::getline(status, line)) {
        if (line.rfind("PPid:", 0) == 0) {
          count += line.substr(line.find_first_not_of(" \t", 5)) == self;
          break;
        }
      }
    }
    closedir(processes);
  }
  return count;
}

// Children nobody waits for cost no thread each, are all reaped, and the
// host's own child is left for the host to reap.
TEST_F(LinuxShell, ReapsUnwaitedChildrenWithoutAThreadEach) {
  pid_t own = fork();
  ASSERT_GE(own, 0);
  if (own == 0) _exit(7);
  size_t threads = ThreadCount();
  for (int i = 0; i < 40; ++i) LaunchShellCommand("sleep 0.5", nullptr, true);
  EXPECT_LE(ThreadCount(), threads + 1);
  for (int i = 0; i < 50 && ChildCount() > 1; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(ChildCount(), 1u) << "only the host's own child is left";
  int status = 0;
  EXPECT_EQ(waitpid(own, &status, WNOHANG), own);
  EXPECT_EQ(WEXITSTATUS(status), 7);
}

}  // namespace
