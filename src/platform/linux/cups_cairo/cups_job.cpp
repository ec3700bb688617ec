#include "platform/linux/cups_cairo/cups_job.h"

#include <errno.h>
#include <pthread.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ascii.h"

namespace linux_platform {
namespace {

// How long the server may take nothing and answer nothing before it is
// taken as hung. Without a limit libcups waits in send() for as long as a
// stopped server reads nothing, and the Java call never returns.
constexpr double kServerSilenceSeconds = 30.0;
// Cancelling a job that was given up waits less: the request is sent
// before the wait, so a server that wakes up later still reads it.
constexpr double kCancelSilenceSeconds = 10.0;
constexpr int kConnectMilliseconds = 30000;

// A wait that ran out is not waited again: the read or write fails, and
// the flag says so.
int GiveUp(http_t*, void* silent) {
  *static_cast<bool*>(silent) = true;
  return 0;
}

// Whether the destination's printer lives on the print server it was
// found on. Asked over the server's local socket, the server names itself
// "localhost" in its printer URIs without its port, so such a URI is never
// followed: it would reach whatever server listens on the default port.
bool OnOwnServer(Destination& destination) {
  const char* uri = cupsGetOption("printer-uri-supported", destination.dest()->num_options,
                                  destination.dest()->options);
  if (!uri) return false;
  char scheme[32], user[256], host[256], resource[1024];
  int port = 0;
  if (httpSeparateURI(HTTP_URI_CODING_ALL, uri, scheme, sizeof scheme, user, sizeof user, host,
                      sizeof host, &port, resource, sizeof resource) < HTTP_URI_STATUS_OK) {
    return false;
  }
  return plenwick::EqualsIgnoreCase(host, "localhost");
}

// A connection to where the destination is served: the print server for
// one of its queues, the printer itself for one found on the network.
http_t* Connect(Destination& destination, double silenceSeconds, bool& silent) {
  InitializeCups();
  http_t* http = nullptr;
  if (OnOwnServer(destination)) {
    http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                        kConnectMilliseconds, nullptr);
  } else {
    char resource[1024];
    http = cupsConnectDest(destination.dest(), CUPS_DEST_FLAGS_NONE, kConnectMilliseconds, nullptr,
                           resource, sizeof resource, nullptr, nullptr);
  }
  if (http) httpSetTimeout(http, silenceSeconds, GiveUp, &silent);
  return http;
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
  return OnOwnServer(destination) ? std::string("server:") + cupsServer()
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

CupsJob::~CupsJob() {
  if (finished_ || id_ <= 0) return;
  SigpipeHeld held;
  // The half-sent request goes with its connection; the job is cancelled
  // on a connection of its own, which a hung server cannot hold for long.
  http_.reset();
  bool silent = false;
  UniqueHttp cancel(Connect(destination_, kCancelSilenceSeconds, silent));
  ipp_status_t status = cancel ? cupsCancelDestJob(cancel.get(), destination_.dest(), id_)
                               : IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
  // No server to answer: it went away under the document.
  if (silent || status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ||
      status == IPP_STATUS_ERROR_INTERNAL) {
    OweCancel(destination_, id_);
  }
}

void CupsJob::Refused(const char* fallback) {
  // A response that never came leaves libcups' last error as an earlier
  // request set it.
  const char* said = silent_ ? nullptr : cupsLastErrorString();
  reason_ = said && *said ? said : fallback;
}

// The server answered the last request of the connection, and answered
// yes. A response that never came leaves libcups' last error as the
// previous request set it, so the connection's own status is asked too.
bool CupsJob::Answered(ipp_status_t status) const {
  return status <= IPP_STATUS_OK_CONFLICTING && !silent_ &&
         httpGetStatus(http_.get()) == HTTP_STATUS_OK;
}

bool CupsJob::Start(const char* title, const JobSettings& settings, const char* format) {
  http_.reset(Connect(destination_, kServerSilenceSeconds, silent_));
  if (!http_) {
    Refused("The print server cannot be reached.");
    return false;
  }
  CancelOwedJobs(http_.get(), destination_);
  // The destination's details as the server that takes the job gives
  // them.
  info_.reset(cupsCopyDestInfo(http_.get(), destination_.dest()));
  if (!info_) {
    Refused("The print server did not describe the printer.");
    return false;
  }
  CupsOptions options;
  AddJobOptions(destination_, settings, options);
  ipp_status_t created = cupsCreateDestJob(http_.get(), destination_.dest(), info_.get(), &id_,
                                           title, options.count(), options.options());
  if (!Answered(created) || id_ <= 0) {
    Refused("The print server did not create the job.");
    return false;
  }
  if (cupsStartDestDocument(http_.get(), destination_.dest(), info_.get(), id_, title, format, 0,
                            nullptr, 1) != HTTP_STATUS_CONTINUE) {
    Refused("The print server did not take the document.");
    return false;
  }
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
  bool sent = pending_.empty() || cupsWriteRequestData(http_.get(), pending_.data(),
                                                       pending_.size()) == HTTP_STATUS_CONTINUE;
  sent = sent && !silent_;
  pending_.clear();
  if (!sent) writeFailed_ = true;
  return sent;
}

// The server still holds the job that the document went into: it was not
// cancelled or aborted on the way. A server that keeps no history of
// finished jobs may not know the job any more; it has answered for the
// document all the same.
bool CupsJob::Kept() {
  http_t* http = http_.get();
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  char uri[64];
  snprintf(uri, sizeof uri, "ipp://localhost/jobs/%d", id_);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "job-state");
  ipp_t* response = cupsDoRequest(http, request, "/jobs/");
  ipp_status_t status = cupsLastError();
  bool kept = false;
  if (response && !silent_ && httpGetStatus(http) == HTTP_STATUS_OK) {
    ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
      kept = true;
    } else if (status <= IPP_STATUS_OK_CONFLICTING && state) {
      int value = ippGetInteger(state, 0);
      kept = value != IPP_JSTATE_CANCELED && value != IPP_JSTATE_ABORTED;
    }
  }
  ippDelete(response);
  return kept;
}

bool CupsJob::Finish() {
  if (writeFailed_ || !SendPending()) return false;
  // The document counts as printed only once the server has answered for
  // it and still holds its job.
  if (!Answered(cupsFinishDestDocument(http_.get(), destination_.dest(), info_.get())) || !Kept()) {
    return false;
  }
  finished_ = true;
  return true;
}

}  // namespace linux_platform
