// Printer access of the spooler: OpenPrinterA, ClosePrinter,
// DocumentPropertiesA and DeviceCapabilitiesA.
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

// What DeviceCapabilitiesA is asked: the paper codes (WORDs) and their
// names (64 characters each, terminated when shorter), the bins (WORDs), the most copies, and
// whether the printer collates.
#define DC_PAPERS 2
#define DC_BINS 6
#define DC_PAPERNAMES 16
#define DC_COPIES 18
#define DC_COLLATE 22

// The answer to one capability: a count of the entries written to output
// (none without output), or a number; -1 when the printer cannot say.
int DeviceCapabilitiesA(LPCSTR device, LPCSTR port, WORD capability, LPSTR output,
                        const DEVMODEA* mode);

// The printer lookups of one unit of work (a print request) on the calling
// thread. Between BeginPrinterSession and EndPrinterSession a platform whose
// printers live on a print server across a network may answer a printer
// looked up again from what it found the first time, and ask the server
// again only before another document goes to that printer. Sessions nest;
// the outermost end forgets what the session found. Windows' spooler keeps
// its printers itself: there both calls do nothing.
void BeginPrinterSession();
void EndPrinterSession();
