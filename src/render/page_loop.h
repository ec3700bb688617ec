// The document and page loop: one report file as one spooler document.
#pragma once

#include "core/print_job.h"

namespace plenwick {

// Prints the report file named by the job. True when the document was
// spooled to the end; the disposition deletes only such a file.
bool PrintReportFile(PrintJob& job);

}  // namespace plenwick
