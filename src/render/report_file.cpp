#include "render/report_file.h"

#include "core/debug_log.h"
#include "render/line_reader.h"

namespace plenwick {

bool ReportFile::Open() {
  file.reset(_lopen(job.fileName, OF_READ));
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
