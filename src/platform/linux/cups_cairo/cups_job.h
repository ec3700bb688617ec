// One job on a CUPS destination, owned from its creation to its finished
// document: it connects to the destination once, and that connection
// carries the destination's details, the job's creation, its one document
// and the end of it. A job given up (destroyed before Finish) is cancelled.
#pragma once

#include <signal.h>

#include <string>

#include "platform/linux/cups_cairo/cups_destination.h"
#include "platform/linux/cups_cairo/media.h"
#include "platform/linux/cups_cairo/owners.h"

namespace linux_platform {

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

class CupsJob {
 public:
  explicit CupsJob(Destination& destination) : destination_(destination) {}
  ~CupsJob();
  CupsJob(const CupsJob&) = delete;
  CupsJob& operator=(const CupsJob&) = delete;

  // Creates the job with the settings as IPP attributes and starts its
  // document in the format (a MIME type). False when the server could not
  // be reached, refused or did not answer; reason() says which in words.
  bool Start(const char* title, const JobSettings& settings, const char* format);
  // Passes document bytes on, a block at a time. False once the server
  // took nothing for too long or a write failed.
  bool Write(const char* data, size_t length);
  // Sends what is held back and ends the document. True only when the
  // server has answered for it and still holds the job; the job is then
  // the server's, and no longer cancelled when this goes.
  bool Finish();

  int id() const { return id_; }
  // The server took or answered nothing for too long on the connection:
  // nothing it said after that is believed.
  bool silent() const { return silent_; }
  // Why Start failed: the server's own words where it gave a reason.
  const std::string& reason() const { return reason_; }

 private:
  bool SendPending();
  bool Answered(ipp_status_t status) const;
  bool Kept();
  void Refused(const char* fallback);

  Destination& destination_;
  UniqueHttp http_;
  UniqueDestInfo info_;
  int id_ = 0;
  bool finished_ = false;
  bool silent_ = false;
  bool writeFailed_ = false;
  // cairo writes its document in pieces of a few bytes, and libcups looks
  // for an answer from the server after every piece it is given: the
  // pieces go to the job in blocks.
  static constexpr size_t kSendBlock = 64 * 1024;
  std::string pending_;
  std::string reason_;
};

}  // namespace linux_platform
