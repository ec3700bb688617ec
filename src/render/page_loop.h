// The document and page loop: one report file as one spooler document.
#pragma once

#include <string>

#include "core/print_job.h"
#include "render/report_file.h"

namespace plenwick {

// Prints the report file named by the job as one spooler document. True
// when the document was spooled to the end (EndDoc succeeded and the user
// did not cancel); the disposition deletes only such a file.
bool PrintReportFile(PrintJob& job);

// Shows the message box for a failed spooler call ("StartDoc", "StartPage",
// "EndPage", "EndDoc") and returns its text; returns an empty text and
// shows nothing for a call that succeeded. A reason the call left as the
// last error (a print server's refusal) is told after the spooler's own
// words.
std::string ReportSpoolerError(const PrintJob& job, const char* name, int result,
                               DWORD reason = ERROR_SUCCESS);

// Shows the message box for a report that could not be read to its end,
// with the system's words for why, and writes the log line.
void ReportReadError(const PrintJob& job, DWORD reason);

// Draws the ruler's tick marks across the page at height y when the job
// asks for a ruler.
void DrawRuler(const ReportFile& file, int y);

}  // namespace plenwick
