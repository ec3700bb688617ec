// The option parser: one option of a print request into the job record.
#pragma once

#include "core/print_job.h"

namespace plenwick {

// Configuration files and option lists that hold options of their own are
// parsed recursively; a chain deeper than this (a file that names itself)
// is cut off with a log line.
constexpr int kMaxOptionNesting = 16;
// Configuration files one argument may have read, nested ones included.
constexpr int kMaxConfigFileReads = 256;

// The longest configuration-file line read at once; a longer line arrives
// as several options.
constexpr int kConfigLineCapacity = 127;

// A configuration file is read as it is when opened, up to this size.
constexpr int kMaxConfigFileBytes = 1 << 20;
// Once the configuration files read for one argument, nested ones included,
// have held this many bytes, no further file is read for it. A single file
// is still read whole, up to the size above.
constexpr int kMaxConfigBytesRead = 64 * 1024;

// text is one option without its leading '-' or '/', modifiable in place.
void Parse_Arg(PrintJob& job, char* text);

// Starts a print request at the outermost level of options, whatever an
// earlier request left behind.
void ResetOptionNesting();

// Tenths of a millimetre for a width or length value: the decimal number at
// its start (0 when there is none), in inches unless the value holds 'm' or
// 'M' (millimetres).
int32_t PaperDimension(const char* value);

}  // namespace plenwick
