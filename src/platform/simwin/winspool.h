// Simulated printer access of the spooler: OpenPrinterA, DocumentPropertiesA.
#pragma once

#include "gdi.h"

namespace simwin {

void ResetWinspool();

}  // namespace simwin
