#include "core/print_job.h"

namespace plenwick {

void ResetPrintJob(PrintJob& job) { job = PrintJob(); }

}  // namespace plenwick
