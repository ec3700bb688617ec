#include "internal.h"

namespace simwin {

void Reset() {
  using namespace detail;
  ResetGdi();  // first: dropping device contexts tells the other areas
  ResetGdiText();
  ResetSpooler();
  SetSpoolerStyle(SpoolerStyle::kWindowsNt);
  ResetDialogs();
  ResetWinspool();
  ResetShell();
  ResetRegistry();
  ResetKernel();
  ResetUser();
  ResetPrinters();
}

size_t OpenHandleCount() {
  using namespace detail;
  return OpenFileCount() + LockedGlobalBlocks() + LiveLocalBlocks() + LiveDeviceContexts() +
         OpenPrinterCount() + LiveFonts() + LiveProcessCount() + OpenKeyCount() + LiveWindowCount();
}

void ClearRecords() {
  using namespace detail;
  ResetGdi();
  ResetGdiText();
  ResetSpooler();
  ResetDialogs();
  ResetWinspool();
  ResetShell();
  ResetUser();
  ClearDeletedFiles();
  ClearPrintDlgCalls();
}

}  // namespace simwin
