// The file a report goes to under -output: its name in the request, and the
// temporary name beside it that the printer's driver (the Linux platform's
// PDF writer) fills. The file gets its own name only once its document
// ended whole, so a name never holds half a report.
#pragma once

#include <string>

#include "core/print_job.h"

namespace plenwick {

// The file name of the next report of the request sent to job.output: the
// output itself for the first report, NAME-2.EXT, NAME-3.EXT for the next
// ones; for a folder (an output ending in a separator) the report's own
// name with the extension .pdf, numbered alike when it comes again.
std::string NextOutputName(PrintJob& job);

class OutputFile {
 public:
  // Until a name is chosen the report goes to the printer and nothing is
  // written here.
  OutputFile() = default;
  void Choose(std::string name);
  // A file not kept is deleted: nothing half-written stays behind.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool wanted() const { return !name_.empty(); }
  const std::string& name() const { return name_; }
  // What the driver writes to (DOCINFO.lpszOutput), or null for the printer.
  const char* driverOutput() const { return wanted() ? partial_.c_str() : nullptr; }

  // Gives the written file its name. False, with the reason in failure,
  // when the driver wrote nothing there or the name cannot be given.
  bool Keep(std::string& failure);

 private:
  std::string name_;      // as the request gave it, for what the user is told
  std::string fullName_;  // from the current folder: a spooler has a folder of its own
  std::string partial_;
  bool kept_ = false;
};

}  // namespace plenwick
