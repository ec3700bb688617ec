#include "render/report_file.h"

#include "core/debug_log.h"
#include "core/regular_file.h"
#include "render/line_reader.h"

namespace plenwick {

bool ReportFile::Open() {
  file = OpenRegularFile(job.fileName);
  job.reportFile = file ? IdentityOf(file.get()) : FileIdentity();
  if (!file) {
    DebugLog("lopen(%s) failed because of error %d\n", job.fileName,
             static_cast<int>(GetLastError()));
    return false;
  }
  bytes = &fileBytes;
  ResetLineReader(*this);
  return true;
}

}  // namespace plenwick
