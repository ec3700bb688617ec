// The report line reader: one line of the job's report file at a time, and
// how it ended.
#pragma once

#include "render/report_file.h"

namespace plenwick {

enum LineStatus {
  CTL_TEXT = 0,   // ended at a line feed, at the end of the file, or with the buffer full
  CTL_FF = 1,     // ended at a form feed: the page ends after it
  CTL_EOF = 2,    // nothing was read: the file is at its end
  CTL_ERROR = 3,  // reading failed: the rest of the file cannot be had
};

// Reads the next line of file.bytes into buffer, which holds capacity
// bytes, and says how it ended. Returns the number of bytes placed; the
// buffer's last byte is always a terminator, but the count, not a
// terminator, gives the length. A line feed is stored as a terminator (as
// a line feed in raw mode) and counted; carriage returns are dropped; a
// form feed ends the line unstored. A line longer than capacity - 1 bytes
// comes back in pieces, losing nothing. A read that fails gives CTL_ERROR,
// for that call and every later one: the bytes of the line it cut are not
// the line.
int GetLine(ReportFile& file, char* buffer, int capacity, LineStatus& status);

// The next line as GetLine reads it, without copying it where that can be
// spared: where the line lies whole in the bytes read ahead, the returned
// pointer is into them (the carriage returns taken out and the line feed
// replaced there), and only a line that runs past them is gathered in
// buffer. Sets count as GetLine returns it. The line is valid until the
// next read; nothing past its count bytes may be written or relied on.
// plain tells that the line has nothing to decode: no byte below the space
// or above 127 before its line feed (or its end), so no overstrike, no NUL
// and no UTF-8. Cleared, it tells nothing (a processor without SSE2 never
// sets it).
const char* ReadLine(ReportFile& file, char* buffer, int capacity, int& count, LineStatus& status,
                     bool& plain);

// Drops the bytes GetLine has read ahead. Call it when a report is opened
// and when it is closed, so that no byte of one report is handed out for a
// later one whose source lives at the same address.
void ResetLineReader(ReportFile& file);

}  // namespace plenwick
