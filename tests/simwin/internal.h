// Inside the simulated Windows only: what its areas tell each other, the
// counts that make up OpenHandleCount, and each area's reset.
#pragma once

#include <string>

#include "control.h"
#include "platform/winapi/handle_table.h"

namespace simwin {

// Each area keeps its objects in a table of the shared kind, so tests can
// count what the library left open.
using winapi::HandleKind;
using winapi::HandleTable;

namespace detail {

// Printers (printers.cpp). Names are compared as given, or without regard
// to case as the spooler does.
const PrinterSpec* FindPrinter(const std::string& name);
const PrinterSpec* FindPrinterIgnoringCase(const std::string& name);
// Fills a device mode with a printer's current settings, as
// DocumentPropertiesA and PrintDlgA hand them out. The block must hold
// DeviceModeSize(spec) bytes.
size_t DeviceModeSize(const PrinterSpec& spec);
void FillDeviceMode(const PrinterSpec& spec, DEVMODEA* mode);
// The private part in line with the public fields; what mode (null: the
// driver's own settings) prints with.
void SyncPrivatePart(const PrinterSpec& spec, DEVMODEA* mode);
DriverSettings SettingsOfMode(const PrinterSpec& spec, const DEVMODEA* mode);

// Appends to GdiEvents() (gdi.cpp).
void RecordGdiEvent(const GdiEvent& event);

// What other areas keep per device context is set up and dropped with it:
// fonts and text state (gdi_text.cpp), document and page state (spooler.cpp).
void TextOnCreateDC(HDC dc, const PrinterSpec& printer);
void TextOnDeleteDC(HDC dc);
void SpoolerOnCreateDC(HDC dc, const PrinterSpec& printer);
void SpoolerOnDeleteDC(HDC dc);

inline void OnCreateDC(HDC dc, const PrinterSpec& printer) {
  TextOnCreateDC(dc, printer);
  SpoolerOnCreateDC(dc, printer);
}
inline void OnDeleteDC(HDC dc) {
  TextOnDeleteDC(dc);
  SpoolerOnDeleteDC(dc);
}

// Live objects of each area.
size_t OpenFileCount();
size_t LiveLocalBlocks();
size_t LiveDeviceContexts();
size_t OpenPrinterCount();
size_t LiveProcessCount();
size_t LiveWindowCount();

void ResetKernel();
void ClearDeletedFiles();
void ResetGdi();
void ResetGdiText();
void ResetSpooler();
void ResetDialogs();
void ResetUser();
void ResetWinspool();
void ResetShell();
void ResetRegistry();
void ResetPrinters();
void ClearPrintDlgCalls();

}  // namespace detail
}  // namespace simwin
