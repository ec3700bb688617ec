#include "render/page_loop.h"

#include "core/debug_log.h"
#include "platform/handles.h"

namespace plenwick {

// Until the page loop is built, a report file counts as printed when it can
// be opened: it is opened and closed again.
bool PrintReportFile(PrintJob& job) {
  UniqueFile file(_lopen(job.fileName, OF_READ));
  if (!file) {
    DebugLog("lopen(%s) failed because of error %d\n", job.fileName, static_cast<int>(GetLastError()));
    return false;
  }
  job.reportFile = file.get();
  job.reportFile = HFILE_ERROR;
  return true;
}

}  // namespace plenwick
