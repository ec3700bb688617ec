#include "render/line_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/debug_log.h"
#include "render/byte_scan.h"
#include "render/byte_source.h"

namespace plenwick {
namespace {

const unsigned char kFormFeed = 12;
const unsigned char kCarriageReturn = 13;
const unsigned char kLineFeed = 10;

// Fills the read-ahead block from the report when it is used up. False
// when no byte comes: the end of the report, or a read error, which the
// block remembers. Each call that finds the block used up asks the source
// again, so the end is met exactly as by reading one byte per call.
bool FillReadAhead(ReportFile& file) {
  ReportReadAhead& ahead = file.readAhead;
  if (ahead.next < ahead.end) return true;
  if (!file.bytes || ahead.failed) return false;
  uint32_t got = file.bytes->Read(ahead.bytes, sizeof ahead.bytes);
  if (got == ByteSource::kFailed) {
    ahead.failed = true;
    ahead.error = GetLastError();
    DebugLog("GetLine: read failed - GetLastError() = %d\n", static_cast<int>(ahead.error));
    return false;
  }
  if (got == 0) return false;
  ahead.next = 0;
  ahead.end = got;
  return true;
}

}  // namespace

int GetLine(ReportFile& file, char* buffer, int capacity, LineStatus& status) {
  status = CTL_TEXT;
  int count = 0;
  if (capacity > 0) buffer[capacity - 1] = '\0';
  ReportReadAhead& ahead = file.readAhead;
  if (ahead.source != file.bytes) ResetLineReader(file);
  while (count < capacity - 1 && FillReadAhead(file)) {
    // The ordinary bytes up to the next line end go in one piece.
    const unsigned char* from = ahead.bytes + ahead.next;
    size_t room =
        std::min<size_t>(ahead.end - ahead.next, static_cast<size_t>(capacity - 1 - count));
    size_t ordinary = FindFirstOf(from, room, kLineFeed, kFormFeed, kCarriageReturn);
    memcpy(buffer + count, from, ordinary);
    count += static_cast<int>(ordinary);
    ahead.next += static_cast<uint32_t>(ordinary);
    if (ordinary == room) continue;  // the block or the buffer is used up
    unsigned char byte = ahead.bytes[ahead.next++];
    if (byte == kFormFeed) {
      status = CTL_FF;
      break;
    }
    if (byte == kLineFeed) {
      buffer[count++] = file.job.raw ? '\n' : '\0';
      break;
    }
    // A carriage return is dropped.
  }
  if (ahead.failed) {
    status = CTL_ERROR;
  } else if (count == 0 && status == CTL_TEXT) {
    DebugLog("GetLine: found EOF - GetLastError() = %d\n", static_cast<int>(GetLastError()));
    status = CTL_EOF;
  }
  return count;
}

void ResetLineReader(ReportFile& file) {
  file.readAhead.source = file.bytes;
  file.readAhead.next = 0;
  file.readAhead.end = 0;
  file.readAhead.failed = false;
  file.readAhead.error = 0;
}

}  // namespace plenwick
