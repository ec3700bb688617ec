// One print request: its job record, its option nesting, and the walk over
// its argument list.
#pragma once

#include "core/print_job.h"
#include "device/printer_capabilities.h"
#include "options/option_parser.h"
#include "platform/handles.h"

namespace plenwick {

// Options (introduced by '-' or '/') go to the option parser, every other
// argument is printed as a report file. The arguments are handed over one
// at a time, each only while its own work runs (the Java bridge holds each
// string's characters only that long), as private copies that may be cut in
// place. The request keeps no pointer into an argument once its step has
// returned.
class PrintRequest {
 public:
  // Starts a request of count arguments: a job and an option nesting of its
  // own, whatever an earlier request left; the printer selection brought
  // up to date (the default printer of now unless one was chosen); the option table in its search
  // order; the count logged.
  explicit PrintRequest(int count);
  PrintRequest(const PrintRequest&) = delete;
  PrintRequest& operator=(const PrintRequest&) = delete;

  // Handles argument index; a null argument is skipped with a log line.
  void Handle(int index, char* argument);

  const PrintJob& job() const { return job_; }

 private:
  // First, so that it spans the whole request: the default printer looked
  // up at its start and every report's printer lookups are one session,
  // which a printer on a distant print server is asked in once per
  // document instead of once per lookup.
  PrinterSessionScope printers_;
  // Each printer's capabilities are asked once a request.
  CapabilitiesScope capabilities_;
  PrintJob job_;
  OptionNesting nesting_;
};

// One whole request of count arguments, in order. fetch(index, handle)
// makes the private copy of argument index (null for a null element), calls
// handle(copy) while the copy lives, and returns true; it returns false
// when the copy cannot be made, which ends the request there.
template <typename Fetch>
void RunPrintRequest(int count, Fetch fetch) {
  PrintRequest request(count);
  for (int index = 0; index < count; ++index) {
    auto handle = [&request, index](char* argument) { request.Handle(index, argument); };
    if (!fetch(index, handle)) return;
  }
}

// One whole request whose arguments are private copies already.
void RunPrintRequest(int count, char* const* arguments);

// Applies the disposition after one report file. Under SCRATCH the report
// file and the request's configuration file are deleted, but only when the
// report was printed to the end: a file that could not be printed stays.
void DisposeJobFiles(const PrintJob& job, bool printed);

}  // namespace plenwick
