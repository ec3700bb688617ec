// The simulated Windows: the subset of Win32 that the library calls, with
// the real names, plus a control API (namespace simwin) for tests.
#pragma once

#include "../winapi/codepage.h"
#include "../winapi/comdlg.h"
#include "dialogs.h"
#include "gdi.h"
#include "gdi_text.h"
#include "kernel.h"
#include "printers.h"
#include "registry.h"
#include "shell.h"
#include "spooler.h"
#include "../winapi/types.h"
#include "user.h"
#include "winspool.h"

namespace simwin {

// Back to a fresh machine: one printer "PDF" that is the default printer,
// no open objects, nothing recorded.
void Reset();

// Platform objects the library still holds: files, locked global blocks,
// local blocks, device contexts, and what each area adds (fonts, dialogs,
// printer handles, keys, processes).
size_t OpenHandleCount();

// Forgets what was recorded (calls, events, documents, boxes, deleted
// files) and the failures still planned, keeping the printers and the
// memory blocks. Only when OpenHandleCount() is 0: for long runs that must
// not grow with the records.
void ClearRecords();

}  // namespace simwin
