#include "core/print_job.h"

namespace plenwick {

void ResetPrintJob(PrintJob& job) {
  job.fileName = "";
  job.configFileName.clear();
  job.reportFile = HFILE_ERROR;
  job.readAhead.file = HFILE_ERROR;
  job.readAhead.next = 0;
  job.readAhead.end = 0;
  job.scratch = false;
  job.ruler = false;
  job.printerName[0] = '\0';
  job.formName[0] = '\0';
  job.copies = 1;
  job.paperWidth = 0;
  job.paperLength = 0;
  job.orientation = 1;  // DMORIENT_PORTRAIT
  job.pointSize = 0;
  job.fontFace[0] = '\0';
  job.collate = false;
  job.paperSource = 0;
  job.oemTranslation = false;
  job.ansiTranslation = false;
  job.deviceContext = nullptr;
  job.raw = false;
  job.noWindows = false;
}

}  // namespace plenwick
