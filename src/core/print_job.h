// The job record of one print request: what the request has said so far.
// What one report file holds while it prints (the file, the device context,
// the fonts) is the file's own (render/report_file.h).
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "core/regular_file.h"
#include "platform/win32.h"

namespace plenwick {

// A new record holds the values at the start of a request.
struct PrintJob {
  const char* fileName = "";   // report file now being printed, quotes removed
  std::string configFileName;  // last configuration file named in this request
  FileIdentity configFile;     // the file configFileName named when it was read
  FileIdentity reportFile;     // the file fileName named when it was opened
  bool scratch = false;        // disposition SCRATCH: delete after printing
  bool ruler = false;
  char printerName[100] = "";
  char formName[34] = "";
  int32_t copies = 1;
  int32_t paperWidth = 0;                   // tenths of a millimetre, 0 = not given
  int32_t paperLength = 0;                  // tenths of a millimetre, 0 = not given
  int16_t orientation = DMORIENT_PORTRAIT;  // or DMORIENT_LANDSCAPE
  int16_t pointSize = 0;                    // 0 = the printer's default size
  char fontFace[32] = "";                   // empty = the printer's default face
  bool collate = false;
  int16_t paperSource = 0;  // dmDefaultSource bin, 0 = not given
  bool oemTranslation = false;
  bool ansiTranslation = false;
  bool raw = false;        // pass lines through with the PASSTHROUGH escape
  int16_t tabStop = 8;     // a tab moves to the next multiple of it
  bool noWindows = false;  // -interactive=none: no window of any kind
  // -output: the file (or, ending in a separator, the folder) the reports
  // go to instead of the printer; empty = the printer.
  std::string output;
  std::map<std::string, int> outputUses;  // reports given each output name so far
};

// Whether the request may show windows: not under -interactive=none, nor
// where nobody could see them.
bool WindowsShown(const PrintJob& job);

// Sets every field to its value at the start of a request.
void ResetPrintJob(PrintJob& job);

}  // namespace plenwick
