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
      TellNotPrinted(fileName, "no such file");
      break;
    case ERROR_ACCESS_DENIED:
      TellNotPrinted(fileName, "access denied");
      break;
    default:
      TellNotPrinted(fileName, "it cannot be read (error %d)", static_cast<int>(error));
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
