// Documents and pages on CUPS: StartDocA creates a job on the destination
// with the device mode's settings as IPP attributes, and streams a cairo
// PDF into it page by page (PostScript for a PostScript printer); EndDoc
// finishes the document and the job, AbortDoc cancels the job. Drawing is
// in device units, 300 per inch.
#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <errno.h>
#include <pthread.h>
#include <signal.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/linux/devmode.h"
#include "platform/linux/device_context.h"

namespace linux_platform {
namespace {

constexpr double kPointsPerInch = 72.0;

double Points(int deviceUnits) { return deviceUnits * kPointsPerInch / kDeviceUnitsPerInch; }

}  // namespace

Document::Document(Destination& printer)
    : destination(printer),
      output([this](const char* data, size_t length) { return Send(data, length); }) {}

bool Document::Send(const char* data, size_t length) {
  pending.append(data, length);
  return pending.size() < kSendBlock || SendPending();
}

// libcups drops the failure of a write that flushes its buffer, so a
// server that took nothing for too long is known by the timeout it met.
bool Document::SendPending() {
  bool sent = pending.empty() || cupsWriteRequestData(http.get(), pending.data(), pending.size()) ==
                                     HTTP_STATUS_CONTINUE;
  sent = sent && !serverSilent;
  pending.clear();
  return sent;
}

namespace {

// cairo hands the document over in pieces as pages are finished; they go to
// CUPS a block at a time, so the document is never held whole in memory
// (cairo keeps a PostScript document's pages in a file of its own until
// the document ends: its fonts come first).
cairo_status_t WriteToJob(void* closure, const unsigned char* data, unsigned int length) {
  auto* document = static_cast<Document*>(closure);
  if (document->discard || document->writeFailed) return CAIRO_STATUS_SUCCESS;
  const char* bytes = reinterpret_cast<const char*>(data);
  bool sent = document->postscript ? document->Send(bytes, length)
                                    : document->output.Write(bytes, length);
  if (!sent || document->serverSilent) {
    document->writeFailed = true;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

// libcups writes with send() and no MSG_NOSIGNAL, so a server that went
// away raises SIGPIPE, which ends a host that has not set the signal aside
// (a virtual machine has; a plain program has not). While a document talks
// to the server the signal is held in this thread, and one that came is
// taken back before the mask is put back: the failed write says enough.
class SigpipeHeld {
 public:
  SigpipeHeld() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    sigset_t pending;
    sigpending(&pending);
    pendingBefore_ = sigismember(&pending, SIGPIPE) == 1;
  }
  ~SigpipeHeld() {
    sigset_t pending;
    sigpending(&pending);
    if (!pendingBefore_ && sigismember(&pending, SIGPIPE) == 1) {
      timespec now{};
      while (sigtimedwait(&pipe_, nullptr, &now) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  SigpipeHeld(const SigpipeHeld&) = delete;
  SigpipeHeld& operator=(const SigpipeHeld&) = delete;

 private:
  sigset_t pipe_, previous_;
  bool pendingBefore_ = false;
};

// How long the server may take nothing and answer nothing before it is
// taken as hung. Without a limit libcups waits in send() for as long as a
// stopped server reads nothing, and the Java call never returns.
constexpr double kServerSilenceSeconds = 30.0;
// Cancelling a job that was given up waits less: the request is sent
// before the wait, so a server that wakes up later still reads it.
constexpr double kCancelSilenceSeconds = 10.0;

// A wait that ran out is not waited again: the read or write fails, and
// the flag says so.
int GiveUp(http_t*, void* silent) {
  *static_cast<bool*>(silent) = true;
  return 0;
}

http_t* ConnectToServer(double silenceSeconds, bool& silent) {
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              30000, nullptr);
  if (http) httpSetTimeout(http, silenceSeconds, GiveUp, &silent);
  return http;
}

// The server answered the last request of the document's connection, and
// answered yes. A response that never came leaves libcups' last error as
// the previous request set it, so the connection's own status is asked
// too.
bool Answered(const Document& document, ipp_status_t status) {
  return status <= IPP_STATUS_OK_CONFLICTING && !document.serverSilent &&
         httpGetStatus(document.http.get()) == HTTP_STATUS_OK;
}

bool CreateJob(DeviceContext& dc, Document& document, const char* title) {
  InitializeCups();
  Destination& destination = *dc.destination;
  // A connection of the document's own, to the server the destination was
  // found on.
  document.http.reset(ConnectToServer(kServerSilenceSeconds, document.serverSilent));
  if (!document.http) return false;
  CupsOptions options;
  AddJobOptions(destination, SettingsOf(dc.mode), options);
  ipp_status_t created = cupsCreateDestJob(document.http.get(), destination.dest(),
                                           destination.info(), &document.jobId, title,
                                           options.count(), options.options());
  if (!Answered(document, created) || document.jobId <= 0) return false;
  return cupsStartDestDocument(document.http.get(), destination.dest(), destination.info(),
                               document.jobId, title,
                               document.postscript ? CUPS_FORMAT_POSTSCRIPT : CUPS_FORMAT_PDF, 0,
                               nullptr, 1) == HTTP_STATUS_CONTINUE;
}

// The server still holds the job that the document went into: it was not
// cancelled or aborted on the way. A server that keeps no history of
// finished jobs may not know the job any more; it has answered for the
// document all the same.
bool JobKept(const Document& document) {
  http_t* http = document.http.get();
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  char uri[64];
  snprintf(uri, sizeof uri, "ipp://localhost/jobs/%d", document.jobId);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "job-state");
  ipp_t* response = cupsDoRequest(http, request, "/jobs/");
  ipp_status_t status = cupsLastError();
  bool kept = false;
  if (response && !document.serverSilent && httpGetStatus(http) == HTTP_STATUS_OK) {
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

// The document's pages as cairo writes them for the printer. A PostScript
// printer gets PostScript: CUPS passes it on as it is, where a PDF would
// be turned into PostScript by Ghostscript first, a page at a time. Any
// other printer gets a PDF, which CUPS' filters take as it comes.
cairo_surface_t* CreateSurface(Document& document, double width, double height,
                               const char* title) {
  if (document.postscript) {
    cairo_surface_t* surface =
        cairo_ps_surface_create_for_stream(WriteToJob, &document, width, height);
    // The title as a DSC comment: one line of printable characters, within
    // the 255 bytes cairo takes.
    std::string comment = "%%Title: ";
    for (const char* c = title; *c && comment.size() < 200; ++c) {
      comment += static_cast<unsigned char>(*c) < 0x20 ? ' ' : *c;
    }
    cairo_ps_surface_dsc_comment(surface, comment.c_str());
    return surface;
  }
  cairo_surface_t* surface =
      cairo_pdf_surface_create_for_stream(WriteToJob, &document, width, height);
  // From PDF 1.5 on, newer cairo packs the page dictionaries into
  // compressed object streams, where no page group could be cleared;
  // nothing a report draws needs more than PDF 1.4.
  cairo_pdf_surface_restrict_to_version(surface, CAIRO_PDF_VERSION_1_4);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title);
  return surface;
}

bool Failed(const Document& document) {
  return document.writeFailed ||
         (document.surface && cairo_surface_status(document.surface.get()) != CAIRO_STATUS_SUCCESS);
}

}  // namespace

Document::~Document() {
  SigpipeHeld held;
  discard = true;
  context.reset();
  surface.reset();
  // The half-sent request goes with its connection; the job is cancelled
  // on a connection of its own.
  http.reset();
  if (jobId > 0) {
    InitializeCups();
    bool silent = false;
    UniqueHttp cancel(ConnectToServer(kCancelSilenceSeconds, silent));
    if (cancel) cupsCancelDestJob(cancel.get(), destination.dest(), jobId);
  }
}

}  // namespace linux_platform

using linux_platform::DeviceContext;
using linux_platform::Document;
using linux_platform::FindDeviceContext;

int StartDocA(HDC handle, const DOCINFOA* info) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || dc->document) return SP_ERROR;
  const char* title = info && info->lpszDocName ? info->lpszDocName : "Document";
  linux_platform::SigpipeHeld held;
  auto document = std::make_unique<Document>(*dc->destination);
  document->postscript = dc->destination->TakesPostScript();
  if (!linux_platform::CreateJob(*dc, *document, title)) {
    dc->document = std::move(document);
    dc->document.reset();
    return SP_ERROR;
  }
  document->surface.reset(linux_platform::CreateSurface(
      *document, linux_platform::Points(dc->pageWidth), linux_platform::Points(dc->pageHeight),
      title));
  document->context.reset(cairo_create(document->surface.get()));
  dc->document = std::move(document);
  if (linux_platform::Failed(*dc->document)) {
    dc->document.reset();
    return SP_ERROR;
  }
  return dc->document->jobId;
}

int StartPage(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document || dc->document->pageOpen) return SP_ERROR;
  cairo_t* cr = dc->document->context.get();
  // Device units from the printable area's top left corner.
  cairo_identity_matrix(cr);
  double scale = linux_platform::Points(1);
  cairo_scale(cr, scale, scale);
  cairo_translate(cr, dc->offsetX, dc->offsetY);
  cairo_set_source_rgb(cr, 0, 0, 0);
  dc->document->pageOpen = true;
  return 1;
}

int EndPage(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document || !dc->document->pageOpen) return SP_ERROR;
  // The abort procedure is asked while the page is sent, as a spooler
  // asks it; a No gives the document up.
  if (dc->abortProc && !dc->abortProc(handle, 0)) {
    dc->document.reset();
    return SP_APPABORT;
  }
  // The page goes to the server now.
  linux_platform::SigpipeHeld held;
  cairo_show_page(dc->document->context.get());
  dc->document->pageOpen = false;
  return linux_platform::Failed(*dc->document) ? SP_ERROR : 1;
}

int EndDoc(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document) return SP_ERROR;
  linux_platform::SigpipeHeld held;
  Document& document = *dc->document;
  if (document.pageOpen) cairo_show_page(document.context.get());
  document.context.reset();
  cairo_surface_finish(document.surface.get());
  if (!document.writeFailed && !(document.output.Flush() && document.SendPending())) {
    document.writeFailed = true;
  }
  bool written = !linux_platform::Failed(document);
  document.discard = true;
  document.surface.reset();
  linux_platform::Destination& destination = *dc->destination;
  // The document counts as printed only once the server has answered for
  // it and still holds its job.
  if (!written ||
      !linux_platform::Answered(document, cupsFinishDestDocument(document.http.get(),
                                                                 destination.dest(),
                                                                 destination.info())) ||
      !linux_platform::JobKept(document)) {
    dc->document.reset();
    return SP_ERROR;
  }
  document.jobId = 0;  // printed: nothing to cancel
  dc->document.reset();
  return 1;
}

int AbortDoc(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document) return SP_ERROR;
  dc->document.reset();
  return 1;
}

int SetAbortProc(HDC handle, ABORTPROC procedure) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc) return SP_ERROR;
  dc->abortProc = procedure;
  return 1;
}

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc) return FALSE;
  if (previous) *previous = POINT{dc->penX, dc->penY};
  dc->penX = x;
  dc->penY = y;
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc) return FALSE;
  if (dc->document && dc->document->pageOpen) {
    // One device unit wide, as the default pen.
    cairo_t* cr = dc->document->context.get();
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, dc->penX, dc->penY);
    cairo_line_to(cr, x, y);
    cairo_stroke(cr);
  }
  dc->penX = x;
  dc->penY = y;
  return TRUE;
}
