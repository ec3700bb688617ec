#include "render/report_file.h"

#include "core/debug_log.h"
#include "core/regular_file.h"
#include "core/user_notice.h"
#include "render/line_reader.h"

namespace plenwick {
namespace {

// Why a report could not be opened, in a user's words.
void TellNotOpened(const char* fileName, DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      TellUser("%s not printed: no such file", fileName);
      break;
    case ERROR_ACCESS_DENIED:
      TellUser("%s not printed: access denied", fileName);
      break;
    default:
      TellUser("%s not printed: it cannot be read (error %d)", fileName, static_cast<int>(error));
      break;
  }
}

}  // namespace

bool ReportFile::Open() {
  file = OpenRegularFile(job.fileName);
  job.reportFile = file ? IdentityOf(file.get()) : FileIdentity();
  if (!file) {
    DWORD error = GetLastError();
    DebugLog("lopen(%s) failed because of error %d\n", job.fileName, static_cast<int>(error));
    TellNotOpened(job.fileName, error);
    return false;
  }
  bytes = &fileBytes;
  ResetLineReader(*this);
  return true;
}

}  // namespace plenwick
