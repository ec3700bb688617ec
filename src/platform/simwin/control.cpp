#include "simwin.h"

namespace simwin {

void ResetGdi();

void Reset() {
  ResetKernel();
  ResetUser();
  ResetPrinters();
  ResetGdi();
}

size_t OpenHandleCount() { return OpenFileCount() + LockedGlobalBlocks() + LiveLocalBlocks(); }

}  // namespace simwin
