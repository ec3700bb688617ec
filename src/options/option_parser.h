// The option parser: one option of a print request into the job record.
#pragma once

#include <cstddef>

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

// Where a request stands in its options: how deep the configuration files
// and option lists now being parsed are nested, and what the files read for
// the current argument have cost. Each request has its own, starting at the
// outermost level whatever an earlier request left behind.
struct OptionNesting {
  int depth = 0;
  // Configuration files read for one argument, nested ones included. The
  // nesting bound alone stops a file that names itself once, but a file
  // that names itself on three lines would be read 3^16 times and hold the
  // caller for hours; past kMaxConfigFileReads a file is ignored.
  int configReads = 0;
  // Bytes those files held. A large file read many times over would parse,
  // and log line by line, hundreds of megabytes.
  size_t configBytes = 0;
};

// text is one option without its leading '-' or '/', modifiable in place,
// parsed at the request's nesting.
void Parse_Arg(PrintJob& job, OptionNesting& nesting, char* text);

// One option on its own, at the outermost level.
void Parse_Arg(PrintJob& job, char* text);

// Tenths of a millimetre for a width or length value: the decimal number at
// its start (0 when there is none), in inches unless the value holds 'm' or
// 'M' (millimetres).
int32_t PaperDimension(const char* value);

}  // namespace plenwick
