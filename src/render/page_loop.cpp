#include "render/page_loop.h"

#include <cstdio>
#include <string>

#include "core/debug_log.h"
#include "core/user_notice.h"
#include "device/job_device.h"
#include "platform/handles.h"
#include "platform/struct_sizes.h"
#include "render/cancel_dialog.h"
#include "render/line_reader.h"
#include "render/output_file.h"
#include "render/overstrike.h"
#include "render/report_file.h"
#include "render/spooler_document.h"
#include "render/text_output.h"

namespace plenwick {
namespace {

constexpr int kLineBufferSize = 512;
constexpr int kPageTitleSize = 100;

const char* SpoolerErrorName(int result) {
  switch (result) {
    case -1:
      return "Unknown general error";
    case -2:
      return "Abort by application";
    case -3:
      return "User Abort by Print Manager";
    case -4:
      return "Out of disk";
    case -5:
      return "Out of memory";
    default:
      return "Unknown spooler error";
  }
}

// The system's words for an error, after a blank; nothing when it has none.
std::string SystemWords(DWORD reason) {
  std::string words = SystemErrorText(reason);
  return words.empty() ? "" : " " + words;
}

// The line grid of one report file. A page holds the rows that fit in the
// printable height, and at least one: a font taller than the page still
// prints a line a page.
struct Grid {
  int advance = 0;
  int lineHeight = 0;
  int linesPerPage = 0;
  int RowsPerPage() const { return linesPerPage > 0 ? linesPerPage : 1; }
};

// Where the document stands: pages started for this file, and the row of
// the next line on the open page (0 when no page is open).
struct Position {
  int page = 0;
  int row = 0;
};

// Raw mode needs the driver's PASSTHROUGH escape; without it the lines are
// printed as text, for this file and the rest of the request.
void CheckPassThrough(ReportFile& file) {
  if (!file.job.raw) return;
  int32_t escape = PASSTHROUGH;
  if (Escape(file.dc(), QUERYESCSUPPORT, sizeof escape, reinterpret_cast<LPCSTR>(&escape),
             nullptr) == 0) {
    DebugLog("PASSTHROUGH not supported, ignoring -raw flag\n");
    file.job.raw = false;
  }
}

Grid MeasureGrid(const ReportFile& file) {
  Grid grid;
  GetGridMetrics(file.dc(), grid.advance, grid.lineHeight);
  // A device without usable metrics still gets one row per line rather
  // than a division by zero.
  if (grid.lineHeight <= 0) {
    DebugLog("line height %d unusable, taking 1\n", grid.lineHeight);
    grid.lineHeight = 1;
  }
  grid.linesPerPage = GetDeviceCaps(file.dc(), VERTRES) / grid.lineHeight;
  return grid;
}

// A spooler call that failed: the box and true, or false when it did not
// fail. After the user's own Cancel the failure is what the Cancel asked
// for (Windows NT gives the job up as soon as the abort procedure says
// stop, and the page and document calls fail from then on): the log says
// so and no box is shown.
bool SpoolerCallFailed(ReportFile& file, const char* name, int result,
                       DWORD reason = ERROR_SUCCESS) {
  if (result > 0) return false;
  if (AbortRequested()) {
    DebugLog("%s returned %i after the user cancelled\n", name, result);
    return true;
  }
  file.failure = ReportSpoolerError(file.job, name, result, reason);
  return true;
}

// Serves the cancel window and tells whether printing goes on. Wine's
// spooler calls the abort procedure only in StartDoc, never while pages go
// out, so nothing would take the window's input during a print and its
// Cancel would never be seen. Asking the abort procedure here, as
// QueryAbort asks it, before each page and before the document is ended,
// makes Cancel work on every spooler; where the spooler asks it too
// (Windows NT, the Linux platform), this is one more look at the queue.
bool GoOnPrinting(const ReportFile& file) { return AbrtProc(file.dc(), 0) != FALSE; }

// Starts a page: its number, its title in the dialog and the log, the
// ruler along its top. False when the user cancelled or the spooler
// refused the page.
bool StartReportPage(ReportFile& file, const CancelDialog& dialog, Position& at) {
  if (!GoOnPrinting(file)) return false;
  ++at.page;
  char title[kPageTitleSize];
  // snprintf cuts a title from a long file name to the buffer.
  snprintf(title, sizeof title, "%s (page %i)", file.job.fileName, at.page);
  if (dialog.Exists()) dialog.SetProgressText(title);
  DebugLog("Printing %s\n", title);
  if (SpoolerCallFailed(file, "StartPage", StartPage(file.dc()))) {
    DebugLog("StartPage failed - exiting\n");
    return false;
  }
  ReselectStyleFonts(file);
  DrawRuler(file, 0);
  return true;
}

// Ends the open page. False, with the log line, when the spooler refused.
bool EndReportPage(ReportFile& file, Position& at, const char* failure) {
  at.row = 0;
  if (SpoolerCallFailed(file, "EndPage", EndPage(file.dc()))) {
    DebugLog("%s - exiting\n", failure);
    return false;
  }
  return true;
}

// Reads and prints lines until the file ends or the user cancels. False
// when the user cancelled or a page call failed: the document must not be
// ended.
bool PrintPages(ReportFile& file, const CancelDialog& dialog, const Grid& grid, Position& at) {
  char buffer[kLineBufferSize];
  LineStatus status = CTL_TEXT;
  while (!AbortRequested()) {
    int count = 0;
    bool plain = false;
    const char* line = ReadLine(file, buffer, sizeof buffer, count, status, plain);
    // The line just read, up to its first NUL, and nothing after it: in the
    // read-ahead block the next line follows.
    DebugLog("GetLine returned %.*s\n", count, line);
    if (status == CTL_EOF) {
      DebugLog("GetLine found CTL_EOF\n");
      break;
    }
    if (status == CTL_ERROR) {
      // What was printed is not the report: the document is abandoned.
      ReportReadError(file.job, file.readAhead.error);
      file.failure = "it could not be read to its end";
      return false;
    }
    if (at.page == 0 && at.row == 0 && status == CTL_FF) {
      // A form feed before anything was printed would give an empty first
      // page: it is dropped, and text before it stays on the first page.
      DebugLog("Skipping initial FORM_FEED\n");
      if (count == 0) continue;
      status = CTL_TEXT;
    }
    // A full page ends only when the next line that needs a row arrives:
    // no row runs past the printable height, and a form feed right after
    // the last row of a full page ends that page instead of an empty one.
    if (count > 0 && at.row >= grid.RowsPerPage() && !EndReportPage(file, at, "EndPage failed")) {
      return false;
    }
    if (at.row == 0 && !StartReportPage(file, dialog, at)) return false;
    if (count > 0) {
      WriteReportLine(file, line, count, at.row, grid.advance, grid.lineHeight, plain);
      ++at.row;
    }
    if (status == CTL_FF && !EndReportPage(file, at, "EndPage failed")) return false;
  }
  return !AbortRequested();
}

// Ends the last page (with a second ruler below its last line) and the
// document. True when the document reached its end.
bool FinishDocument(ReportFile& file, const Grid& grid, Position& at, SpoolerDocument& document) {
  if (at.row > 0) {
    // A last page that is not full gets a second ruler below its last line.
    if (at.row < grid.RowsPerPage()) DrawRuler(file, at.row * grid.lineHeight);
    if (!EndReportPage(file, at, "EndPage (2) failed")) return false;
  }
  // A Cancel while the last page went out still stops the document.
  if (!GoOnPrinting(file)) return false;
  return !SpoolerCallFailed(file, "EndDoc", document.Commit());
}

// Prints the open report file on the job's device context as one document.
bool PrintDocument(ReportFile& file, const OutputFile& output) {
  CheckPassThrough(file);
  StyleFontsScope fonts(file);
  Grid grid = MeasureGrid(file);

  ClearAbortFlag();
  CancelDialog dialog(GetFocus(), !WindowsShown(file.job));
  SetAbortProc(file.dc(), AbrtProc);

  DOCINFOA info{};
  info.cbSize = kDocInfoSize;
  info.lpszDocName = file.job.fileName;
  info.lpszOutput = output.driverOutput();  // null: the printer
  // Every way out before the document is committed abandons it. What
  // StartDoc leaves as the last error says why it refused.
  SetLastError(ERROR_SUCCESS);
  SpoolerDocument document(file.dc(), info);
  if (SpoolerCallFailed(file, "StartDoc", document.started(), GetLastError())) return false;

  Position at;
  bool ended = PrintPages(file, dialog, grid, at) && FinishDocument(file, grid, at, document);
  if (AbortRequested()) {
    // The user's Cancel means nothing of this document prints: it is
    // abandoned, whatever the spooler made of the abort procedure's answer
    // (Wine's spooler ignores it and would print the pages done so far).
    DebugLog("%s cancelled by the user\n", file.job.fileName);
    document.Abandon();
    return false;
  }
  // A document that did not reach its end is abandoned by its owner.
  return ended;
}

}  // namespace

std::string ReportSpoolerError(const PrintJob& job, const char* name, int result, DWORD reason) {
  // The spooler's page and document calls report failure with a result of
  // zero or below; a zero is a failure too, though it has no name.
  if (result > 0) return "";
  char head[80];
  snprintf(head, sizeof head, "%s returned %i (%s).", name, result, SpoolerErrorName(result));
  std::string text = head + SystemWords(reason);
  ShowMessageBox(WindowsShown(job), text.c_str(), nullptr, MB_ICONERROR);
  return text;
}

void ReportReadError(const PrintJob& job, DWORD reason) {
  DebugLog("Reading %s failed - exiting\n", job.fileName);
  std::string text = std::string("Reading ") + job.fileName + " failed; it was not printed.";
  ShowMessageBox(WindowsShown(job), (text + SystemWords(reason)).c_str(), nullptr, MB_ICONERROR);
}

void DrawRuler(const ReportFile& file, int y) {
  if (!file.job.ruler) return;
  HDC dc = file.dc();
  int width = GetDeviceCaps(dc, HORZRES);
  for (int x = 0; x <= width; x += 10) {
    MoveToEx(dc, x, y, nullptr);
    LineTo(dc, x, y + (x % 50 == 0 ? 20 : 10));
  }
}

bool PrintReportFile(PrintJob& job) {
  // The file, its device context and the fonts drawn on it are this
  // report's only: they go when it ends, whatever way it ends, the fonts
  // and the dialog that the document made on the device context first.
  // An output file not kept goes after the device context, whose driver
  // may still hold it open.
  OutputFile output;
  ReportFile file(job);
  // Opening the file and configuring its printer tell the user themselves
  // why a report goes unprinted; a document that does not print is told
  // here, once.
  if (!file.Open() || !ConfigureJobDevice(job, file.deviceContext)) return false;
  if (!job.output.empty()) output.Choose(NextOutputName(job));
  if (PrintDocument(file, output) && output.Keep(file.failure)) return true;
  if (output.wanted() && !file.failure.empty() && !AbortRequested()) {
    file.failure = "writing " + output.name() + ": " + file.failure;
  }
  TellNotPrinted(job.fileName, "%s",
                 AbortRequested() || file.failure.empty() ? "cancelled" : file.failure.c_str());
  return false;
}

}  // namespace plenwick
