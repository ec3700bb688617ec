// The shell on Linux: a program is started with posix_spawn, a document is
// opened with xdg-open and printed with CUPS' lp. A process handle is the
// child's process id; the children nobody waits for are reaped by one
// thread in the background.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/winapi/handle_table.h"
#include "platform/ascii.h"
#include "platform/winapi/winapi.h"

extern char** environ;

namespace {

// hInstApp values of a failed launch, as the shell gives them.
constexpr UINT_PTR kFileNotFound = 2;
constexpr UINT_PTR kNoAssociation = 31;
constexpr UINT_PTR kLaunched = 42;
constexpr DWORD kNoAssociationError = 1155;

struct Process {
  pid_t pid;
  bool waited = false;
};
winapi::HandleTable<Process> g_processes(winapi::HandleKind::kProcess);

// The children that ended or will end with nobody waiting for them. One
// thread reaps them all while there are any, asking for each of these
// process ids alone: the host's own children are not ours to reap.
std::mutex g_unwaitedLock;
std::vector<pid_t> g_unwaited;
bool g_reaperRunning = false;

// Reaps the children that have ended; true when none is left.
bool ReapEnded() {
  std::lock_guard<std::mutex> hold(g_unwaitedLock);
  for (size_t i = 0; i < g_unwaited.size();) {
    int status = 0;
    pid_t done = waitpid(g_unwaited[i], &status, WNOHANG);
    if (done == g_unwaited[i] || (done < 0 && errno != EINTR)) {
      g_unwaited[i] = g_unwaited.back();
      g_unwaited.pop_back();
    } else {
      ++i;
    }
  }
  if (g_unwaited.empty()) g_reaperRunning = false;
  return g_unwaited.empty();
}

void Reaper() {
  // Children that end at once are reaped at once, long-lived ones are
  // looked at once a second.
  auto pause = std::chrono::milliseconds(10);
  while (!ReapEnded()) {
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(1000));
  }
}

void ReapInBackground(pid_t pid) {
  std::lock_guard<std::mutex> hold(g_unwaitedLock);
  g_unwaited.push_back(pid);
  if (g_reaperRunning) return;
  try {
    std::thread(Reaper).detach();
    g_reaperRunning = true;
  } catch (const std::system_error&) {
    // No thread to be had now: the child waits in the list, and the next
    // launch tries again.
  }
}

// Splits parameters at blanks; double quotes group words with blanks.
void AppendParameters(const char* text, std::vector<std::string>& words) {
  if (!text) return;
  std::string word;
  bool quoted = false, inWord = false;
  for (const char* p = text; *p; ++p) {
    if (*p == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (*p == ' ' && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += *p;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
}

// A file that runs by itself: a path to an executable file, or a bare
// name found on PATH.
bool IsProgram(const std::string& file) {
  struct stat info {};
  if (file.find('/') != std::string::npos) {
    return stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(file.c_str(), X_OK) == 0;
  }
  const char* path = getenv("PATH");
  std::string directories = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= directories.size()) {
    size_t end = directories.find(':', start);
    if (end == std::string::npos) end = directories.size();
    std::string candidate = directories.substr(start, end - start) + "/" + file;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

// A file name in double quotes (one with blanks) without them.
std::string Unquoted(const char* name) {
  std::string file = name;
  if (!file.empty() && file.front() == '"') file.erase(0, 1);
  if (!file.empty() && file.back() == '"') file.pop_back();
  return file;
}

// A document for xdg-open: a name that begins with '-' would be read as one
// of its options (--version, --help, ...), and it takes no "--" to end
// them, so such a name is given as the same file in a path of its own.
std::string DocumentArgument(const std::string& file) {
  return file.empty() || file[0] != '-' ? file : "./" + file;
}

// The command line for a verb and file; empty when the verb means nothing
// here.
std::vector<std::string> CommandFor(const char* verb, const SHELLEXECUTEINFOA& info) {
  std::string file = Unquoted(info.lpFile);
  std::string action = verb ? verb : "";
  std::vector<std::string> words;
  if (plenwick::EqualsIgnoreCase(action.c_str(), "print")) {
    words = {"lp", "--", file};
  } else if (action.empty() || plenwick::EqualsIgnoreCase(action.c_str(), "open")) {
    if (IsProgram(file)) {
      words = {file};
      AppendParameters(info.lpParameters, words);
    } else {
      words = {"xdg-open", DocumentArgument(file)};
    }
  } else if (plenwick::EqualsIgnoreCase(action.c_str(), "edit") ||
             plenwick::EqualsIgnoreCase(action.c_str(), "explore")) {
    words = {"xdg-open", DocumentArgument(file)};
  }
  return words;
}

struct SpawnActions {
  posix_spawn_file_actions_t actions;
  SpawnActions() { posix_spawn_file_actions_init(&actions); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
};

struct SpawnAttributes {
  posix_spawnattr_t attributes;
  SpawnAttributes() { posix_spawnattr_init(&attributes); }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
};

pid_t Spawn(const std::vector<std::string>& words, const char* directory, int& error) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  SpawnActions actions;
  if (directory && *directory) posix_spawn_file_actions_addchdir_np(&actions.actions, directory);
  // The child gets standard input, output and error and nothing else of
  // the host: no log file, no socket, whatever flags they were opened with.
  posix_spawn_file_actions_addclosefrom_np(&actions.actions, 3);
  // Nor the host's signal settings: a virtual machine blocks signals it
  // handles in threads of its own, and ignores others.
  SpawnAttributes attributes;
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes.attributes, &none);
  posix_spawnattr_setsigdefault(&attributes.attributes, &all);
  posix_spawnattr_setflags(&attributes.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  error =
      posix_spawnp(&pid, argv[0], &actions.actions, &attributes.attributes, argv.data(), environ);
  return error == 0 ? pid : -1;
}

BOOL Failed(SHELLEXECUTEINFOA* info, UINT_PTR code, DWORD error) {
  info->hInstApp = reinterpret_cast<HINSTANCE>(code);
  SetLastError(error);
  return FALSE;
}

}  // namespace

BOOL ShellSlashWordIsPath(LPCSTR word, size_t length, BOOL knownSwitch) {
  std::string text(word, length);
  // A switch is a slash and letters: a second slash makes a path.
  if (text.find('/', 1) != std::string::npos) return TRUE;
  if (knownSwitch) return FALSE;
  struct stat info {};
  return stat(text.c_str(), &info) == 0;
}

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) {
  if (!info || !info->lpFile) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->hProcess = nullptr;
  std::vector<std::string> words = CommandFor(info->lpVerb, *info);
  if (words.empty()) return Failed(info, kNoAssociation, kNoAssociationError);
  int error = 0;
  pid_t pid = Spawn(words, info->lpDirectory, error);
  if (pid < 0) {
    bool missingHelper = words[0] != Unquoted(info->lpFile);
    return Failed(info, missingHelper ? kNoAssociation : kFileNotFound,
                  missingHelper ? kNoAssociationError : ERROR_FILE_NOT_FOUND);
  }
  info->hInstApp = reinterpret_cast<HINSTANCE>(kLaunched);
  if (info->fMask & SEE_MASK_NOCLOSEPROCESS) {
    info->hProcess = g_processes.Add<HANDLE>(std::make_unique<Process>(Process{pid}));
  } else {
    ReapInBackground(pid);
  }
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD) {
  Process* process = g_processes.Find(handle);
  if (!process) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  if (!process->waited) {
    int status = 0;
    while (waitpid(process->pid, &status, 0) < 0) {
      if (errno != EINTR) break;
    }
    process->waited = true;
  }
  return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE handle) {
  std::unique_ptr<Process> process = g_processes.Remove(handle);
  if (!process) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!process->waited) ReapInBackground(process->pid);
  return TRUE;
}
