// A connection to a print server (or to a printer on the network) that gives
// up on a peer which takes or answers nothing for too long, and the
// SIGPIPE that libcups' writes may raise while it is used.
#pragma once

#include <cups/cups.h>
#include <signal.h>

#include <cstddef>
#include <memory>

#include "platform/linux/cups_cairo/owners.h"

namespace linux_platform {

// How long the server may take nothing and answer nothing before it is
// taken as hung. Without a limit libcups waits in send() for as long as a
// stopped server reads nothing, and the Java call never returns.
constexpr double kServerSilenceSeconds = 30.0;

// libcups writes with send() and no MSG_NOSIGNAL, so a server that went
// away raises SIGPIPE, which ends a host that has not set the signal aside
// (a virtual machine has; a plain program has not). While a document talks
// to the server the signal is held in this thread, and one that came is
// taken back before the mask is put back: the failed write says enough.
class SigpipeHeld {
 public:
  SigpipeHeld();
  ~SigpipeHeld();
  SigpipeHeld(const SigpipeHeld&) = delete;
  SigpipeHeld& operator=(const SigpipeHeld&) = delete;

 private:
  sigset_t pipe_, previous_;
  bool pendingBefore_ = false;
};

class ServerConnection {
 public:
  // To the print server in use (CUPS_SERVER or the client configuration).
  // Null when it cannot be reached.
  static std::shared_ptr<ServerConnection> ToServer(double silenceSeconds);
  // To where dest is served, as libcups finds it; resource receives the
  // path of the printer there.
  static std::shared_ptr<ServerConnection> ToDestination(cups_dest_t* dest, double silenceSeconds,
                                                         char* resource, size_t size);

  http_t* get() const { return http_.get(); }
  // A wait ran out on the connection: nothing the peer said after that is
  // believed, and the connection takes no further request.
  bool silent() const { return silent_; }
  // It can carry another request: it is not given up, and no document is
  // on its way on it.
  bool usable() const { return http_ && !silent_ && !carrying_; }
  // A document is on its way on it, until its answer came.
  void Carrying(bool document) { carrying_ = document; }
  // A request was left half sent: the connection goes, and the peer drops
  // what it was given of it.
  void BreakOff() { http_.reset(); }

 private:
  explicit ServerConnection(double silenceSeconds) : silenceSeconds_(silenceSeconds) {}
  bool Take(http_t* http);

  double silenceSeconds_;
  UniqueHttp http_;
  bool silent_ = false;
  bool carrying_ = false;
};

}  // namespace linux_platform
