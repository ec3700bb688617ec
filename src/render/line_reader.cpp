#include "render/line_reader.h"

#include "core/debug_log.h"

namespace plenwick {
namespace {

const int kFormFeed = 12;
const int kCarriageReturn = 13;
const int kLineFeed = 10;

// The next byte of the source, or -1 when none comes: the end or a read
// error, with the system's last error as the read left it. The source is
// read a block at a time, but each call that finds the block used up asks
// the source again, so its end and a read error are met exactly as by
// reading one byte per call.
int NextByte(const ByteSource& source, ReportReadAhead& ahead) {
  if (ahead.next >= ahead.end) {
    UINT got = source.read(source.context, ahead.bytes, sizeof ahead.bytes);
    if (got == 0 || got > sizeof ahead.bytes) return -1;  // HFILE_ERROR is above it too
    ahead.next = 0;
    ahead.end = got;
  }
  return ahead.bytes[ahead.next++];
}

UINT ReadReportFile(void* context, unsigned char* buffer, UINT capacity) {
  return _lread(*static_cast<HFILE*>(context), buffer, capacity);
}

}  // namespace

int GetLine(const ByteSource& source, ReportReadAhead& ahead, bool raw, char* buffer, int capacity,
            LineStatus& status) {
  status = CTL_TEXT;
  int count = 0;
  if (capacity > 0) buffer[capacity - 1] = '\0';
  while (count < capacity - 1) {
    int byte = NextByte(source, ahead);
    if (byte < 0) break;
    if (byte == kFormFeed) {
      status = CTL_FF;
      break;
    }
    if (byte == kCarriageReturn) continue;
    if (byte == kLineFeed) {
      buffer[count++] = raw ? '\n' : '\0';
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

int GetLine(PrintJob& job, char* buffer, int capacity, LineStatus& status) {
  if (job.readAhead.file != job.reportFile) ResetLineReader(job);
  ByteSource file{ReadReportFile, &job.reportFile};
  return GetLine(file, job.readAhead, job.raw, buffer, capacity, status);
}

void ResetLineReader(PrintJob& job) {
  job.readAhead.file = job.reportFile;
  job.readAhead.next = 0;
  job.readAhead.end = 0;
}

}  // namespace plenwick
