// The cancel dialog shown while a document spools, and the abort procedure.
#pragma once

#include "platform/win32.h"

namespace plenwick {

// The library's own module instance, recorded when the library is loaded;
// the dialog template is one of its resources.
extern HINSTANCE g_moduleInstance;

}  // namespace plenwick
