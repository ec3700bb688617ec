#include "render/line_reader.h"

#include "core/debug_log.h"
#include "render/byte_source.h"

namespace plenwick {
namespace {

const int kFormFeed = 12;
const int kCarriageReturn = 13;
const int kLineFeed = 10;

// The next byte of the report, or -1 when none comes: the end of the
// report or a read error, with the system's last error as the read left
// it. The source is read a block at a time, but each call that finds the
// block used up asks the source again, so the end and a read error are met
// exactly as by reading one byte per call.
int NextByte(PrintJob& job) {
  ReportReadAhead& ahead = job.readAhead;
  if (ahead.source != job.reportBytes) ResetLineReader(job);
  if (ahead.next >= ahead.end) {
    if (!job.reportBytes) return -1;
    uint32_t got = job.reportBytes->Read(ahead.bytes, sizeof ahead.bytes);
    if (got == 0) return -1;
    ahead.next = 0;
    ahead.end = got;
  }
  return ahead.bytes[ahead.next++];
}

}  // namespace

int GetLine(PrintJob& job, char* buffer, int capacity, LineStatus& status) {
  status = CTL_TEXT;
  int count = 0;
  if (capacity > 0) buffer[capacity - 1] = '\0';
  while (count < capacity - 1) {
    int byte = NextByte(job);
    if (byte < 0) break;
    if (byte == kFormFeed) {
      status = CTL_FF;
      break;
    }
    if (byte == kCarriageReturn) continue;
    if (byte == kLineFeed) {
      buffer[count++] = job.raw ? '\n' : '\0';
      break;
    }
    buffer[count++] = static_cast<char>(byte);
  }
  if (count == 0 && status == CTL_TEXT) {
    DebugLog("GetLine: found EOF - GetLastError() = %d\n", static_cast<int>(GetLastError()));
    status = CTL_EOF;
  }
  return count;
}

void ResetLineReader(PrintJob& job) {
  job.readAhead.source = job.reportBytes;
  job.readAhead.next = 0;
  job.readAhead.end = 0;
}

}  // namespace plenwick
