// Simulated printer access of the spooler: OpenPrinterA, ClosePrinter and
// DocumentPropertiesA, with controls to make them fail and a record of calls.
#pragma once

#include <string>
#include <vector>

#include "../winapi/winspool.h"
#include "gdi.h"

namespace simwin {

struct OpenPrinterCall {
  std::string name;
  bool hadDefaults;
  BOOL result;
};
const std::vector<OpenPrinterCall>& OpenPrinterCalls();

struct DocumentPropertiesCall {
  std::string deviceName;
  DWORD mode;
  bool hadInput;
  DEVMODEA input;  // copy of the public fields given as input
  LONG result;
};
const std::vector<DocumentPropertiesCall>& DocumentPropertiesCalls();

size_t OpenPrinterCount();
// The next OpenPrinterA of this printer fails with error.
void FailNextOpenPrinter(const std::string& name, DWORD error = ERROR_INVALID_PRINTER_NAME);
// The next size query (DocumentPropertiesA mode 0) returns -1.
void FailNextSizeQuery();

void ResetWinspool();

}  // namespace simwin
