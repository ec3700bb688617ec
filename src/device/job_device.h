// Configuration of the printer for one report file: the job's printer, its
// settings in the shared device mode, and the printer device context.
#pragma once

#include "core/print_job.h"
#include "platform/handles.h"
#include "platform/win32.h"

namespace plenwick {

// Moves the shared selection's device mode to the job's printer when the job
// names another one, writes the job's copies, orientation, paper source,
// paper size or form and collation into it, and creates the printer device
// context into deviceContext. The device context is the outcome: null when
// the file cannot be printed (no printer at all, the printer cannot be
// opened and the user cancelled, or the platform made no device context).
// The host process is never ended. Returns deviceContext != nullptr.
bool ConfigureJobDevice(PrintJob& job, UniqueDC& deviceContext);

// Copies the settings that source flags (orientation, paper size or
// dimensions, scale, copies, collation) into dest and flags them there.
void MergeDevMode(DEVMODEA& dest, const DEVMODEA& source);

}  // namespace plenwick
