// The process-wide printer selection that print jobs, the Print Setup
// dialog and the printer-name query share.
#pragma once

#include <string>

#include "platform/handles.h"
#include "platform/win32.h"

namespace plenwick {

// The selected printer's two movable blocks: its device mode (DEVMODEA)
// and its device names (DEVNAMES). The selection owns them: a block it
// replaces is freed, and whoever reads or writes one locks it for that
// time only. Empty (both null) until a query finds a printer.
class PrinterSelection {
 public:
  HGLOBAL devMode() const { return devMode_.get(); }
  HGLOBAL devNames() const { return devNames_.get(); }
  // Whether the user chose the printer in Print Setup, rather than the
  // selection holding the system's default.
  bool chosen() const { return chosen_; }

  // Takes the default printer's new blocks; whatever was held goes.
  void TakeDefault(HGLOBAL devMode, HGLOBAL devNames);
  // Takes the blocks a confirmed Print Setup handed back. The dialog was
  // given the held blocks and freed or kept them itself, so they are let
  // go here, not freed a second time.
  void TakeFromSetup(HGLOBAL devMode, HGLOBAL devNames);
  // The device mode becomes rebuilt, and the block it replaces is freed.
  // The device names stay: until the next dialog they may name another
  // printer than the device mode.
  void ReplaceDevMode(HGLOBAL rebuilt);

  // The printer the device names name, cut to capacity. False when there
  // are no device names to read.
  bool CurrentPrinter(char* name, size_t capacity) const;

  // The printer a device mode belongs to. dmDeviceName holds 31
  // characters of a name, and a longer name cut there opens no printer:
  // when the field is full and known, a printer the caller knows the mode
  // may belong to, begins with it, known is meant. A name the field holds
  // whole is never lengthened.
  static std::string DevModePrinter(const DEVMODEA& mode, const std::string& known);

  // Lets both blocks go without freeing them, as in a new process whose
  // machine is new too. For tests.
  void Forget();

 private:
  UniqueGlobal devMode_;
  UniqueGlobal devNames_;
  bool chosen_ = false;
};

// The process's one selection. It is never destroyed: it lives until the
// process ends, when the platform that holds its blocks may be gone first.
extern PrinterSelection& g_printerSelection;

// Fills the selection from the default printer on first use, and again at
// every use while it is empty. True when the selection holds a device mode.
bool GetDevMode();

// Brings the selection up to date at the start of a request or query: the
// system's default printer of now, until the user chooses one in Print
// Setup; the chosen one while it can still be opened, then the default of
// now again, with a log line and a notice. True when the selection holds a
// device mode.
bool RefreshPrinterSelection();

// Shows the Print Setup dialog on the selection. True when confirmed.
// Where nobody could see the dialog it is not shown: false.
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
