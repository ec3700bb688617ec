// Simulated fonts, text metrics and text output on device contexts.
#pragma once

#include "gdi.h"

namespace simwin {

void ResetGdiText();

}  // namespace simwin
