// The simulated Windows: the subset of Win32 that the library calls, with
// the real names, plus a control API (namespace simwin) for tests.
#pragma once

#include "comdlg.h"
#include "gdi.h"
#include "kernel.h"
#include "printers.h"
#include "types.h"
#include "user.h"

namespace simwin {

// Back to a fresh machine: one printer "PDF" that is the default printer,
// no open objects, nothing recorded.
void Reset();

// Platform objects the library still holds (files, locked blocks, device
// contexts, fonts, dialogs, printer handles, keys, local blocks).
size_t OpenHandleCount();

}  // namespace simwin
