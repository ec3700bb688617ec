// Simulated print spooler on device contexts: documents, pages, the abort
// procedure and lines drawn.
#pragma once

#include "gdi.h"

namespace simwin {

void ResetSpooler();

}  // namespace simwin
