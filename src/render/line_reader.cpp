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

// Takes the bytes of the read-ahead block that belong to the line into
// out, after the count bytes it holds: up to the line's end, the block's
// end or room bytes. out may be the block itself, at or before the byte
// taken next: a carriage return dropped moves the rest of the line down.
// True when the line is complete: it ended, or room bytes are held. plain
// is cleared as FindLineEnd clears it.
bool TakeFromBlock(ReportFile& file, char* out, int room, int& count, LineStatus& status,
                   bool& plain) {
  ReportReadAhead& ahead = file.readAhead;
  while (count < room && ahead.next < ahead.end) {
    // The ordinary bytes up to the next line end go in one piece.
    const unsigned char* from = ahead.bytes + ahead.next;
    size_t take = std::min<size_t>(ahead.end - ahead.next, static_cast<size_t>(room - count));
    size_t ordinary = FindLineEnd(from, take, plain);
    if (reinterpret_cast<const unsigned char*>(out + count) != from) {
      memmove(out + count, from, ordinary);
    }
    count += static_cast<int>(ordinary);
    ahead.next += static_cast<uint32_t>(ordinary);
    if (ordinary == take) continue;  // the block or the room is used up
    unsigned char byte = ahead.bytes[ahead.next++];
    if (byte == kFormFeed) {
      status = CTL_FF;
      return true;
    }
    if (byte == kLineFeed) {
      out[count++] = file.job.raw ? '\n' : '\0';
      return true;
    }
    // A carriage return is dropped.
  }
  return count >= room;
}

}  // namespace

const char* ReadLine(ReportFile& file, char* buffer, int capacity, int& count, LineStatus& status,
                     bool& plain) {
  status = CTL_TEXT;
  count = 0;
  plain = true;
  if (capacity > 0) buffer[capacity - 1] = '\0';
  ReportReadAhead& ahead = file.readAhead;
  if (ahead.source != file.bytes) ResetLineReader(file);
  const int room = capacity - 1;
  if (room > 0 && FillReadAhead(file)) {
    // Most lines lie whole in the block: they are handed out where they
    // are. The bytes before the next one are spent, so the line may be
    // rewritten in place.
    char* inBlock = reinterpret_cast<char*>(ahead.bytes + ahead.next);
    if (TakeFromBlock(file, inBlock, room, count, status, plain)) return inBlock;
    // The line runs on past the block: what the block held of it goes to
    // the buffer before the block is read again.
    memcpy(buffer, inBlock, static_cast<size_t>(count));
  }
  while (count < room && FillReadAhead(file)) {
    if (TakeFromBlock(file, buffer, room, count, status, plain)) break;
  }
  if (ahead.failed) {
    status = CTL_ERROR;
  } else if (count == 0 && status == CTL_TEXT) {
    DebugLog("GetLine: found EOF - GetLastError() = %d\n", static_cast<int>(GetLastError()));
    status = CTL_EOF;
  }
  return buffer;
}

int GetLine(ReportFile& file, char* buffer, int capacity, LineStatus& status) {
  int count = 0;
  bool plain = false;
  const char* line = ReadLine(file, buffer, capacity, count, status, plain);
  if (line != buffer) memcpy(buffer, line, static_cast<size_t>(count));
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
