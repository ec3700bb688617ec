// One job on a CUPS destination, owned from its creation to its finished
// document: one connection carries the job's creation, its one document
// and the end of it. Within a printer session that is the session's
// connection to the print server; otherwise the job connects itself. A job
// given up (destroyed before Finish) is cancelled.
#pragma once

#include <memory>
#include <string>

#include "platform/linux/cups_cairo/cups_destination.h"
#include "platform/linux/cups_cairo/media.h"
#include "platform/linux/cups_cairo/owners.h"
#include "platform/linux/cups_cairo/pdf_page.h"
#include "platform/linux/cups_cairo/server_connection.h"

namespace linux_platform {

class CupsJob : public DocumentSink {
 public:
  explicit CupsJob(Destination& destination) : destination_(destination) {}
  ~CupsJob() override;
  CupsJob(const CupsJob&) = delete;
  CupsJob& operator=(const CupsJob&) = delete;

  // Creates the job with the settings as IPP attributes and starts its
  // document in the format (a MIME type). False when the server could not
  // be reached, refused or did not answer; reason() says which in words.
  bool Start(const char* title, const JobSettings& settings, const char* format);
  // Passes document bytes on, a block at a time. False once the server
  // took nothing for too long or a write failed.
  bool Write(const char* data, size_t length) override;
  // Sends what is held back and ends the document. True only when the
  // server has answered for it, and its answer shows the job neither
  // cancelled nor aborted; the job is then the server's, and no longer
  // cancelled when this goes.
  bool Finish();

  int id() const { return id_; }
  // The server took or answered nothing for too long on the connection:
  // nothing it said after that is believed.
  bool silent() const override { return connection_ && connection_->silent(); }
  // Why Start failed: the server's own words where it gave a reason.
  const std::string& reason() const { return reason_; }

 private:
  bool SendPending();
  bool Answered(ipp_status_t status) const;
  void Refused(const char* fallback);
  http_t* http() const { return connection_ ? connection_->get() : nullptr; }

  Destination& destination_;
  std::shared_ptr<ServerConnection> connection_;
  // The destination's details as the connection's peer gives them: the
  // destination's own for a queue of the print server, asked on the
  // connection for a printer on the network.
  cups_dinfo_t* info_ = nullptr;
  UniqueDestInfo ownInfo_;
  std::string resource_;
  int id_ = 0;
  bool finished_ = false;
  bool writeFailed_ = false;
  // cairo writes its document in pieces of a few bytes, and libcups looks
  // for an answer from the server after every piece it is given: the
  // pieces go to the job in blocks.
  static constexpr size_t kSendBlock = 64 * 1024;
  std::string pending_;
  std::string reason_;
};

}  // namespace linux_platform
