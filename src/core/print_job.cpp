#include "core/print_job.h"

#include "core/user_notice.h"

namespace plenwick {

void ResetPrintJob(PrintJob& job) { job = PrintJob(); }

bool WindowsShown(const PrintJob& job) { return !job.noWindows && WindowStationVisible(); }

}  // namespace plenwick
