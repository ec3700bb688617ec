#include "simwin.h"

namespace simwin {

void Reset() {
  ResetGdi();  // first: dropping device contexts tells the other areas
  ResetGdiText();
  ResetSpooler();
  ResetDialogs();
  ResetWinspool();
  ResetShell();
  ResetRegistry();
  ResetKernel();
  ResetUser();
  ResetPrinters();
}

size_t OpenHandleCount() {
  return OpenFileCount() + LockedGlobalBlocks() + LiveLocalBlocks() + LiveDeviceContexts() +
         OpenPrinterCount() + LiveFonts() + LiveProcessCount() + OpenKeyCount() +
         LiveWindowCount();
}

void ClearRecords() {
  ResetGdi();
  ResetGdiText();
  ResetSpooler();
  ResetDialogs();
  ResetWinspool();
  ResetShell();
  ResetUser();
  ClearDeletedFiles();
}

}  // namespace simwin
