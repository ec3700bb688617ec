#include "platform/linux/cups_cairo/cups_job.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/cups_cairo/printer_session.h"

namespace linux_platform {
namespace {

// Cancelling a job that was given up waits less: the request is sent
// before the wait, so a server that wakes up later still reads it.
constexpr double kCancelSilenceSeconds = 10.0;

// A connection of its own to where the destination is served: the print
// server for one of its queues, the printer itself for one found on the
// network.
std::shared_ptr<ServerConnection> Connect(Destination& destination, double silenceSeconds,
                                          std::string& resource) {
  if (destination.OnServer()) {
    resource = destination.Resource();
    return ServerConnection::ToServer(silenceSeconds);
  }
  char path[1024] = "";
  std::shared_ptr<ServerConnection> connection =
      ServerConnection::ToDestination(destination.dest(), silenceSeconds, path, sizeof path);
  resource = path;
  return connection;
}

// A job whose cancel found no server to take it. A print server that
// restarts keeps a job it holds half a document of queued for a quarter
// of an hour, so the cancel is tried once more, the next time a job is
// started on that server.
struct OwedCancel {
  std::string server;  // the print server's name, or the network printer's queue
  std::string queue;
  int id;
};
std::mutex g_owedLock;
std::vector<OwedCancel> g_owed;

std::string ServerOf(Destination& destination) {
  return destination.OnServer() ? std::string("server:") + cupsServer()
                                : "printer:" + destination.name();
}

void OweCancel(Destination& destination, int id) {
  std::lock_guard<std::mutex> hold(g_owedLock);
  // A server that never comes back must not make the list grow for ever.
  if (g_owed.size() >= 64) g_owed.erase(g_owed.begin());
  g_owed.push_back({ServerOf(destination), destination.name(), id});
}

// Cancels, once each, the jobs owed on the server that http reaches.
void CancelOwedJobs(http_t* http, Destination& destination) {
  std::string server = ServerOf(destination);
  std::vector<OwedCancel> due;
  {
    std::lock_guard<std::mutex> hold(g_owedLock);
    auto ours = std::stable_partition(g_owed.begin(), g_owed.end(), [&](const OwedCancel& owed) {
      return owed.server != server;
    });
    due.assign(ours, g_owed.end());
    g_owed.erase(ours, g_owed.end());
  }
  for (const OwedCancel& owed : due) {
    if (owed.server.rfind("server:", 0) == 0) {
      cupsCancelJob2(http, owed.queue.c_str(), owed.id, 0);
    } else {
      cupsCancelDestJob(http, destination.dest(), owed.id);
    }
  }
}

}  // namespace

CupsJob::~CupsJob() {
  if (finished_ || id_ <= 0) return;
  SigpipeHeld held;
  // The half-sent request goes with its connection (a session's too: it
  // makes a new one for what comes next); the job is cancelled on a
  // connection of its own, which a hung server cannot hold for long.
  if (connection_) connection_->BreakOff();
  std::string resource;
  std::shared_ptr<ServerConnection> cancel = Connect(destination_, kCancelSilenceSeconds, resource);
  ipp_status_t status = cancel ? cupsCancelDestJob(cancel->get(), destination_.dest(), id_)
                               : IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
  // No server to answer: it went away under the document.
  if ((cancel && cancel->silent()) || status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ||
      status == IPP_STATUS_ERROR_INTERNAL) {
    OweCancel(destination_, id_);
  }
}

void CupsJob::Refused(const char* fallback) {
  // A response that never came leaves libcups' last error as an earlier
  // request set it.
  const char* said = silent() ? nullptr : cupsLastErrorString();
  reason_ = said && *said ? said : fallback;
}

// The server answered the last request of the connection, and answered
// yes. A response that never came leaves libcups' last error as the
// previous request set it, so the connection's own status is asked too.
bool CupsJob::Answered(ipp_status_t status) const {
  return status <= IPP_STATUS_OK_CONFLICTING && !silent() && http() &&
         httpGetStatus(http()) == HTTP_STATUS_OK;
}

bool CupsJob::Start(const char* title, const JobSettings& settings, const char* format) {
  // A queue of the print server goes on the session's connection, which
  // its lookups took: the job costs no connection and no lookup of its own.
  PrinterSession* session = PrinterSession::Current();
  if (session && destination_.OnServer()) {
    connection_ = session->Connection();
    resource_ = destination_.Resource();
  } else {
    connection_ = Connect(destination_, kServerSilenceSeconds, resource_);
  }
  if (!connection_) {
    Refused("The print server cannot be reached.");
    return false;
  }
  CancelOwedJobs(http(), destination_);
  if (destination_.OnServer()) {
    info_ = destination_.info();
  } else {
    // The printer's details as the printer itself gives them.
    ownInfo_.reset(cupsCopyDestInfo(http(), destination_.dest()));
    info_ = ownInfo_.get();
  }
  if (!info_) {
    Refused("The print server did not describe the printer.");
    return false;
  }
  CupsOptions options;
  AddJobOptions(destination_, settings, options);
  ipp_status_t created = cupsCreateDestJob(http(), destination_.dest(), info_, &id_, title,
                                           options.count(), options.options());
  if (!Answered(created) || id_ <= 0) {
    Refused("The print server did not create the job.");
    return false;
  }
  if (cupsStartDestDocument(http(), destination_.dest(), info_, id_, title, format, 0, nullptr,
                            1) != HTTP_STATUS_CONTINUE) {
    Refused("The print server did not take the document.");
    return false;
  }
  // A lookup meanwhile (another device context made while this document
  // is open) goes on a connection of its own.
  connection_->Carrying(true);
  return true;
}

bool CupsJob::Write(const char* data, size_t length) {
  if (writeFailed_) return false;
  pending_.append(data, length);
  return pending_.size() < kSendBlock || SendPending();
}

// libcups drops the failure of a write that flushes its buffer, so a
// server that took nothing for too long is known by the timeout it met.
bool CupsJob::SendPending() {
  bool sent = pending_.empty() || cupsWriteRequestData(http(), pending_.data(), pending_.size()) ==
                                      HTTP_STATUS_CONTINUE;
  sent = sent && !silent();
  pending_.clear();
  if (!sent) writeFailed_ = true;
  return sent;
}

bool CupsJob::Finish() {
  if (writeFailed_ || !SendPending()) return false;
  // The document counts as printed only once the server has answered for
  // it and the job it went into was not cancelled or aborted on the way:
  // the answer names the job's state, so nothing more is asked.
  ipp_t* response = cupsGetResponse(http(), resource_.c_str());
  connection_->Carrying(false);
  bool kept = Answered(cupsLastError());
  if (kept && response) {
    ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
    int value = state ? ippGetInteger(state, 0) : IPP_JSTATE_PENDING;
    kept = value != IPP_JSTATE_CANCELED && value != IPP_JSTATE_ABORTED;
  }
  ippDelete(response);
  if (!kept) return false;
  finished_ = true;
  return true;
}

}  // namespace linux_platform
