// What a printer can do of a job's copies, bins, papers and collation, as
// its driver tells it, and the job's settings fitted to it.
#pragma once

#include <string>
#include <vector>

#include "core/print_job.h"
#include "platform/win32.h"

namespace plenwick {

// The driver's answers; a list it cannot give, or gives empty, is empty
// and checks nothing, a number it cannot give is -1.
struct PrinterCapabilities {
  std::string printer;
  int maxCopies = -1;
  std::vector<WORD> bins;
  std::vector<WORD> papers;
  std::vector<std::string> paperNames;
  int collates = -1;
};

// A request's span: while one lives, each printer's capabilities are asked
// once and kept; outside one they are asked every time.
class CapabilitiesScope {
 public:
  CapabilitiesScope();
  ~CapabilitiesScope();
  CapabilitiesScope(const CapabilitiesScope&) = delete;
  CapabilitiesScope& operator=(const CapabilitiesScope&) = delete;
};

const PrinterCapabilities& CapabilitiesOf(const std::string& printer);

// Holds the job's settings as written into mode against what printer can
// do: each one it cannot do gets a log line and a notice and is left to
// the printer (copies cut to its most; bin, paper or collation unflagged).
void FitJobToPrinter(const PrintJob& job, const std::string& printer, DEVMODEA& mode);

}  // namespace plenwick
