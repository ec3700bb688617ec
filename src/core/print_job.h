// The job record of one print request: what the request has said so far,
// and the per-file platform objects of the report file being printed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"
#include "platform/win32.h"

namespace plenwick {

class ByteSource;

// Bytes of the report read ahead in one block, which GetLine hands out one
// at a time: reading a file one byte per system call is slow. They belong
// to the source they were read from and go when it is closed.
struct ReportReadAhead {
  const ByteSource* source = nullptr;  // where the bytes came from
  uint32_t next = 0;                   // index of the next byte to hand out
  uint32_t end = 0;                    // number of bytes held
  unsigned char bytes[4096];
};

// A new record holds the values at the start of a request.
struct PrintJob {
  const char* fileName = "";          // report file now being printed, quotes removed
  std::string configFileName;         // last configuration file named in this request
  UniqueFile reportFile;              // open while the file is printed
  ByteSource* reportBytes = nullptr;  // what GetLine reads: reportFile's bytes while it is open
  ReportReadAhead readAhead;          // what GetLine has read of reportBytes
  bool scratch = false;               // disposition SCRATCH: delete after printing
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
  UniqueDC deviceContext;  // printer device context of the file being printed
  bool raw = false;        // pass lines through with the PASSTHROUGH escape
  bool noWindows = false;  // no cancel dialog
};

// Sets every field to its value at the start of a request.
void ResetPrintJob(PrintJob& job);

}  // namespace plenwick
