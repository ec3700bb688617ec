// Documents and pages on CUPS: StartDocA creates a job on the destination
// with the device mode's settings as IPP attributes, and streams a cairo
// PDF into it page by page (PostScript for a PostScript printer); EndDoc
// finishes the document and the job; AbortDoc, or a device context that
// goes with its document open, gives the document up and its job is
// cancelled. Drawing is in device units, 300 per inch.
#include <cups/cups.h>

#include "platform/linux/cups_cairo/printer_session.h"
#include "platform/linux/device_context.h"
#include "platform/linux/devmode.h"
#include "platform/winapi/common.h"

using linux_platform::DeviceContext;
using linux_platform::Document;
using linux_platform::FindDeviceContext;
using linux_platform::SigpipeHeld;

namespace {

constexpr double kPointsPerInch = 72.0;

double Points(int deviceUnits) {
  return deviceUnits * kPointsPerInch / linux_platform::kDeviceUnitsPerInch;
}

}  // namespace

namespace {

// A document written to the file the caller named, as the PDF a PDF queue
// would get, with no print server involved.
int StartFileDocument(DeviceContext& dc, const char* path, const char* title) {
  auto document = std::make_unique<Document>();
  if (!document->file.Open(path)) return SP_ERROR;
  document->pages = std::make_unique<linux_platform::PdfDocument>(
      document->file, false, Points(dc.pageWidth), Points(dc.pageHeight),
      linux_platform::kDeviceUnitsPerInch, title);
  if (document->pages->Failed()) return SP_ERROR;
  dc.document = std::move(document);
  return 1;
}

}  // namespace

int StartDocA(HDC handle, const DOCINFOA* info) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || dc->document) return SP_ERROR;
  const char* title = info && info->lpszDocName ? info->lpszDocName : "Document";
  if (info && info->lpszOutput) return StartFileDocument(*dc, info->lpszOutput, title);
  if (!dc->destination) {
    // A device context made with no printer prints to files only.
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return SP_ERROR;
  }
  SigpipeHeld held;
  // The next lookup of the printer in this session asks the server again:
  // the printer is known as it was when this document began.
  if (linux_platform::PrinterSession* session = linux_platform::PrinterSession::Current()) {
    session->DocumentStarted(*dc->destination);
  }
  bool postscript = dc->destination->TakesPostScript();
  auto document = std::make_unique<Document>();
  document->job = std::make_unique<linux_platform::CupsJob>(*dc->destination);
  if (!document->job->Start(title, linux_platform::SettingsOf(dc->mode),
                            postscript ? CUPS_FORMAT_POSTSCRIPT : CUPS_FORMAT_PDF)) {
    // The server's own reason is what FormatMessageA tells for the error.
    winapi::SetLastErrorText(ERROR_GEN_FAILURE, document->job->reason());
    return SP_ERROR;
  }
  document->pages = std::make_unique<linux_platform::PdfDocument>(
      *document->job, postscript, Points(dc->pageWidth), Points(dc->pageHeight),
      linux_platform::kDeviceUnitsPerInch, title);
  if (document->pages->Failed()) return SP_ERROR;
  int id = document->job->id();
  dc->document = std::move(document);
  return id;
}

int StartPage(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document || dc->document->pages->pageOpen()) return SP_ERROR;
  dc->document->pages->StartPage(dc->offsetX, dc->offsetY);
  return 1;
}

int EndPage(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document || !dc->document->pages->pageOpen()) return SP_ERROR;
  // The abort procedure is asked while the page is sent, as a spooler
  // asks it; a No gives the document up.
  if (dc->abortProc && !dc->abortProc(handle, 0)) {
    dc->document.reset();
    return SP_APPABORT;
  }
  // The page goes to the server now.
  SigpipeHeld held;
  return dc->document->pages->EndPage() ? 1 : SP_ERROR;
}

int EndDoc(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document) return SP_ERROR;
  SigpipeHeld held;
  std::unique_ptr<Document> document = std::move(dc->document);
  // The document counts as printed only once the server has answered for
  // it and still holds its job; a job not finished is cancelled as the
  // document goes.
  bool printed = document->pages->Finish() &&
                 (document->job ? document->job->Finish() : document->file.Finish());
  return printed ? 1 : SP_ERROR;
}

int AbortDoc(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document) return SP_ERROR;
  SigpipeHeld held;
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
  if (dc->document && dc->document->pages->pageOpen()) {
    dc->document->pages->Line(dc->penX, dc->penY, x, y);
  }
  dc->penX = x;
  dc->penY = y;
  return TRUE;
}
