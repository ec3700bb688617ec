#include "platform/linux/desktop/dialog_program.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/linux/desktop/dialog_protocol.h"

extern char** environ;

namespace linux_platform {
namespace {

// How long a program whose input is closed may take to end.
constexpr int kEndingMs = 2000;

bool Named(const char* variable) {
  const char* value = getenv(variable);
  return value && *value;
}

long long NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// Waits for the process to end, up to timeoutMs; true once it has been
// reaped.
bool Reap(pid_t process, int timeoutMs) {
  long long until = NowMs() + timeoutMs;
  for (;;) {
    int status = 0;
    pid_t ended = waitpid(process, &status, WNOHANG);
    if (ended == process || (ended < 0 && errno != EINTR)) return true;
    if (NowMs() >= until) return false;
    usleep(10000);
  }
}

}  // namespace

void CloseDescriptor(int descriptor) { close(descriptor); }

bool HasDisplay() { return Named("DISPLAY") || Named("WAYLAND_DISPLAY"); }

std::string DialogProgramPath() {
  Dl_info info;
  std::string folder = ".";
  if (dladdr(reinterpret_cast<void*>(&DialogProgramPath), &info) && info.dli_fname) {
    std::string self = info.dli_fname;
    size_t slash = self.rfind('/');
    if (slash != std::string::npos) folder = self.substr(0, slash);
  }
  return folder + "/" + dialog_protocol::kProgramName;
}

std::unique_ptr<DialogProgram> DialogProgram::Start(const char* kind) {
  if (!HasDisplay()) return nullptr;
  std::string path = DialogProgramPath();
  if (access(path.c_str(), X_OK) != 0) return nullptr;
  // A socket, not a pipe: a message to a program that has crashed is sent
  // with MSG_NOSIGNAL, so it fails instead of raising SIGPIPE in the host.
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return nullptr;
  UniqueDescriptor mine(ends[0]), theirs(ends[1]);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, theirs.get(), STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, theirs.get(), STDOUT_FILENO);
  // A signal mask or dispositions of the host (a virtual machine blocks
  // and catches its own) are not the program's.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::string kindText = kind;
  char* argv[] = {&path[0], &kindText[0], nullptr};
  pid_t process = 0;
  int failed = posix_spawn(&process, path.c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    fprintf(stderr, "The dialog program %s did not start: %s\n", path.c_str(), strerror(failed));
    return nullptr;
  }
  return std::unique_ptr<DialogProgram>(new DialogProgram(process, std::move(mine)));
}

DialogProgram::DialogProgram(pid_t process, UniqueDescriptor channel)
    : process_(process), channel_(std::move(channel)) {}

DialogProgram::~DialogProgram() {
  channel_.reset();
  if (!Reap(process_, kEndingMs)) {
    kill(process_, SIGKILL);
    Reap(process_, kEndingMs);
  }
}

bool DialogProgram::Send(const std::vector<std::string>& fields) {
  std::string line = dialog_protocol::Line(fields);
  size_t sent = 0;
  while (sent < line.size()) {
    ssize_t count = send(channel_.get(), line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    sent += static_cast<size_t>(count);
  }
  return true;
}

bool DialogProgram::TakeLine(std::vector<std::string>& fields) {
  size_t end = pending_.find('\n');
  if (end == std::string::npos) return false;
  fields = dialog_protocol::Fields(pending_.substr(0, end));
  pending_.erase(0, end + 1);
  return true;
}

bool DialogProgram::Receive(std::vector<std::string>& fields, int timeoutMs) {
  long long until = timeoutMs < 0 ? 0 : NowMs() + timeoutMs;
  while (!TakeLine(fields)) {
    if (ended_) return false;
    int wait = timeoutMs < 0 ? -1 : static_cast<int>(std::max(0LL, until - NowMs()));
    pollfd ready = {channel_.get(), POLLIN, 0};
    int count = poll(&ready, 1, wait);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    char buffer[4096];
    ssize_t got = recv(channel_.get(), buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ended_ = true;
      continue;
    }
    pending_.append(buffer, static_cast<size_t>(got));
  }
  return true;
}

}  // namespace linux_platform
