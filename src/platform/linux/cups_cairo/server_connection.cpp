#include "platform/linux/cups_cairo/server_connection.h"

#include <errno.h>
#include <pthread.h>

#include "platform/linux/cups_cairo/cups_destination.h"

namespace linux_platform {
namespace {

constexpr int kConnectMilliseconds = 30000;

// A wait that ran out is not waited again: the read or write fails, and
// the flag says so.
int GiveUp(http_t*, void* silent) {
  *static_cast<bool*>(silent) = true;
  return 0;
}

}  // namespace

SigpipeHeld::SigpipeHeld() {
  sigemptyset(&pipe_);
  sigaddset(&pipe_, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
  sigset_t pending;
  sigpending(&pending);
  pendingBefore_ = sigismember(&pending, SIGPIPE) == 1;
}

SigpipeHeld::~SigpipeHeld() {
  sigset_t pending;
  sigpending(&pending);
  if (!pendingBefore_ && sigismember(&pending, SIGPIPE) == 1) {
    timespec now{};
    while (sigtimedwait(&pipe_, nullptr, &now) < 0 && errno == EINTR) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

bool ServerConnection::Take(http_t* http) {
  http_.reset(http);
  if (http) httpSetTimeout(http, silenceSeconds_, GiveUp, &silent_);
  return http != nullptr;
}

std::shared_ptr<ServerConnection> ServerConnection::ToServer(double silenceSeconds) {
  InitializeCups();
  std::shared_ptr<ServerConnection> connection(new ServerConnection(silenceSeconds));
  if (!connection->Take(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                     1, kConnectMilliseconds, nullptr))) {
    return nullptr;
  }
  return connection;
}

std::shared_ptr<ServerConnection> ServerConnection::ToDestination(cups_dest_t* dest,
                                                                  double silenceSeconds,
                                                                  char* resource, size_t size) {
  InitializeCups();
  std::shared_ptr<ServerConnection> connection(new ServerConnection(silenceSeconds));
  if (!connection->Take(cupsConnectDest(dest, CUPS_DEST_FLAGS_NONE, kConnectMilliseconds, nullptr,
                                        resource, size, nullptr, nullptr))) {
    return nullptr;
  }
  return connection;
}

}  // namespace linux_platform
