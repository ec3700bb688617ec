// The print request driver: walks the argument list of one print request.
#pragma once

#include "core/print_job.h"

namespace plenwick {

// Options (introduced by '-' or '/') go to the option parser, every other
// argument is printed as a report file. The arguments are handed over one
// at a time, each only while its own work runs (the Java bridge holds each
// string's characters only that long), as private copies that may be cut in
// place. Begin resets the job, selects the default printer, sorts the
// option table and logs the count; each argument is then handled in order,
// index by index. The job keeps no pointer into an argument once its step
// has returned.
void BeginPrintRequest(PrintJob& job, int count);
void HandlePrintArgument(PrintJob& job, int index, char* argument);

// Applies the disposition after one report file. Under SCRATCH the report
// file and the request's configuration file are deleted, but only when the
// report was printed to the end: a file that could not be printed stays.
void DisposeJobFiles(const PrintJob& job, bool printed);

}  // namespace plenwick
