// Printer access of the spooler: OpenPrinterA, ClosePrinter and
// DocumentPropertiesA.
#pragma once

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
