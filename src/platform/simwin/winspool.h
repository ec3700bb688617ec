// Simulated printer access of the spooler: OpenPrinterA, ClosePrinter and
// DocumentPropertiesA, with controls to make them fail and a record of calls.
#pragma once

#include <string>
#include <vector>

#include "gdi.h"

typedef HANDLE* LPHANDLE;

typedef struct _PRINTER_DEFAULTSA {
  LPSTR pDatatype;
  LPDEVMODEA pDevMode;
  DWORD DesiredAccess;
} PRINTER_DEFAULTSA, *PPRINTER_DEFAULTSA, *LPPRINTER_DEFAULTSA;

BOOL OpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
BOOL ClosePrinter(HANDLE printer);
// Mode 0 answers the size of the printer's device mode; DM_OUT_BUFFER fills
// output with the printer's current settings, and with DM_IN_BUFFER takes
// the settings that input flags over them, as a driver validating them.
LONG DocumentPropertiesA(HWND window, HANDLE printer, LPSTR deviceName, PDEVMODEA output,
                         PDEVMODEA input, DWORD mode);

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
