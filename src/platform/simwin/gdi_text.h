// Simulated fonts, text metrics and text output on device contexts.
#pragma once

#include <cstddef>
#include <vector>

#include "../winapi/gdi_text.h"
#include "gdi.h"

namespace simwin {

// Fonts made with CreateFontIndirectA and not yet deleted.
size_t LiveFonts();
// Every font asked of CreateFontIndirectA, in order.
const std::vector<LOGFONTA>& CreatedFonts();
// The next CreateFontIndirectA returns null.
void FailNextCreateFont();

void ResetGdiText();

}  // namespace simwin
