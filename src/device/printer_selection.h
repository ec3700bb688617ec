// The process-wide printer selection that print jobs, the Print Setup
// dialog and the printer-name query share.
#pragma once

#include <string>

#include "platform/win32.h"

namespace plenwick {

struct PrinterSelection {
  HGLOBAL devMode;   // movable block holding a DEVMODEA
  HGLOBAL devNames;  // movable block holding a DEVNAMES
};

// Both handles hold this value until the first query of the process.
extern const HGLOBAL kNeverQueried;
extern PrinterSelection g_printerSelection;

// Fills the selection from the default printer on first use, and again at
// every use while it is empty. True when the selection holds a device mode.
bool GetDevMode();

// Shows the Print Setup dialog on the selection. True when confirmed.
bool ShowPrintSetup();

// The selected printer's name from the device mode (whole from the device
// names when the device mode's field cuts it), or an error text.
std::string GetSelectedPrinterName();

// The device name of a DEVNAMES block, cut to capacity when it does not fit.
// Returns false when the block cannot be read.
bool DeviceNameOf(HGLOBAL devNames, char* name, size_t capacity);

// Back to the never-queried state, as in a new process. For tests.
void ResetPrinterSelection();

}  // namespace plenwick
