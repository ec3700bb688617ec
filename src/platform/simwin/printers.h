// The printers of the simulated Windows: what PrintDlgA, the spooler and
// printer device contexts know about each one.
#pragma once

#include <string>
#include <vector>

#include "../winapi/comdlg.h"
#include "gdi.h"
#include "../winapi/types.h"

namespace simwin {

struct PrinterSpec {
  std::string name = "PDF";
  std::string driver = "wineps.drv";
  std::string port = "CUPS:PDF";
  WORD specVersion = 0x30A;
  WORD driverExtra = 0;  // bytes after the public DEVMODEA fields
  int dpiX = 300;
  int dpiY = 300;
  int horzRes = 2479;  // printable width in device units
  int vertRes = 3508;  // printable height in device units
  // Default font of a device context on this printer.
  std::string faceName = "DejaVu Sans Mono";
  int tmHeight = 50;
  int tmAveCharWidth = 25;
  int tmExternalLeading = 0;
  int tmPitchAndFamily = 0x31;  // FIXED_PITCH reported as on Windows, modern family
  bool passThrough = true;      // answers QUERYESCSUPPORT for PASSTHROUGH
  bool canOpen = true;          // OpenPrinterA succeeds
};

void AddPrinter(const PrinterSpec& spec);
void SetDefaultPrinter(const std::string& name);  // empty: no default printer
void RemoveAllPrinters();
const PrinterSpec* FindPrinter(const std::string& name);
// Printer names are compared without regard to case, as the spooler does.
const PrinterSpec* FindPrinterIgnoringCase(const std::string& name);

// Fills a device mode with a printer's current settings (as DocumentProperties
// and PrintDlgA hand them out). The block must hold DeviceModeSize(spec) bytes.
size_t DeviceModeSize(const PrinterSpec& spec);
void FillDeviceMode(const PrinterSpec& spec, DEVMODEA* mode);

// What the Print Setup dialog will do the next time it is shown: confirm
// with the named printer, or be cancelled (empty name). Without a script
// the dialog is cancelled.
void ScriptPrintSetup(const std::string& printerName);

struct PrintDlgCall {
  DWORD structSize;
  DWORD flags;
  HWND owner;
  HGLOBAL devModeIn;
  HGLOBAL devNamesIn;
  BOOL result;
};
const std::vector<PrintDlgCall>& PrintDlgCalls();

void ResetPrinters();

}  // namespace simwin
