// The job record of one print request: what the request has said so far,
// and the per-file platform objects of the report file being printed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"

namespace plenwick {

struct PrintJob {
  const char* fileName;        // report file now being printed, quotes removed
  std::string configFileName;  // last configuration file named in this request
  HFILE reportFile;            // open while the file is printed
  bool scratch;                // disposition SCRATCH: delete after printing
  bool ruler;
  char printerName[100];
  char formName[34];
  int32_t copies;
  int32_t paperWidth;   // tenths of a millimetre, 0 = not given
  int32_t paperLength;  // tenths of a millimetre, 0 = not given
  int16_t orientation;  // DMORIENT_PORTRAIT or DMORIENT_LANDSCAPE
  int16_t pointSize;    // 0 = the printer's default size
  char fontFace[32];    // empty = the printer's default face
  bool collate;
  int16_t paperSource;  // dmDefaultSource bin, 0 = not given
  bool oemTranslation;
  bool ansiTranslation;
  HDC deviceContext;  // printer device context of the file being printed
  bool raw;           // pass lines through with the PASSTHROUGH escape
  bool noWindows;     // no cancel dialog
};

// Sets every field to its value at the start of a request.
void ResetPrintJob(PrintJob& job);

}  // namespace plenwick
