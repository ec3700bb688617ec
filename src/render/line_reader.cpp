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

const unsigned char kCtrlZ = 0x1A;
const unsigned char kCarriageReturn = 13;
// The longest Ctrl-Z tail (the Ctrl-Z and the line ends after it) that
// ends a report; a longer one is printed as it stands.
const uint32_t kLongestCtrlZTail = 512;

// The first bytes of a report, at most capacity: enough of them to tell a
// byte-order mark, which is dropped.
uint32_t ReadStart(ReportFile& file, unsigned char* into, uint32_t capacity) {
  ReportReadAhead& ahead = file.readAhead;
  uint32_t got = 0;
  while (got < kLongestMark) {
    uint32_t more = file.bytes->Read(into + got, capacity - got);
    if (more == ByteSource::kFailed) return more;
    if (more == 0) break;
    got += more;
  }
  size_t mark = 0;
  ahead.encoding = file.job.raw ? ReportEncoding::kBytes : EncodingOfMark(into, got, mark);
  ahead.utf16 = Utf16Decoder(ahead.encoding == ReportEncoding::kUtf16BE);
  got -= static_cast<uint32_t>(mark);
  memmove(into, into + mark, got);
  // A UTF-16 report whose first read held its mark alone reads on.
  return got > 0 || ahead.encoding == ReportEncoding::kBytes ? got
                                                             : file.bytes->Read(into, capacity);
}

// The next characters of the report into into, which holds capacity bytes
// (at least what a UTF-16 read may give): its bytes, or a UTF-16 report's
// characters in UTF-8. 0 at the end; ByteSource::kFailed when a read
// failed.
uint32_t ReadCharacters(ReportFile& file, unsigned char* into, uint32_t capacity) {
  ReportReadAhead& ahead = file.readAhead;
  if (ahead.encoding == ReportEncoding::kBytes) return file.bytes->Read(into, capacity);
  for (;;) {
    uint32_t got = ahead.encoding == ReportEncoding::kUnknown
                       ? ReadStart(file, ahead.utf16Bytes, sizeof ahead.utf16Bytes)
                       : file.bytes->Read(ahead.utf16Bytes, sizeof ahead.utf16Bytes);
    if (got == ByteSource::kFailed) return got;
    if (ahead.encoding == ReportEncoding::kBytes) {
      memcpy(into, ahead.utf16Bytes, got);
      // A report that held its mark alone so far is asked again.
      return got > 0 ? got : file.bytes->Read(into, capacity);
    }
    if (got == 0) return static_cast<uint32_t>(ahead.utf16.Finish(into));
    size_t made = ahead.utf16.Convert(ahead.utf16Bytes, got, into);
    if (made > 0) return static_cast<uint32_t>(made);
  }
}

// Bytes at the end of the size bytes that are a Ctrl-Z followed by line
// ends alone, 0 when they end otherwise.
uint32_t CtrlZTail(const unsigned char* bytes, uint32_t size) {
  uint32_t at = size;
  while (at > 0 && size - at < kLongestCtrlZTail &&
         (bytes[at - 1] == kLineFeed || bytes[at - 1] == kCarriageReturn)) {
    --at;
  }
  return at > 0 && bytes[at - 1] == kCtrlZ ? size - at + 1 : 0;
}

// Fills the read-ahead block from the report when it is used up. False
// when no byte comes: the end of the report, or a read error, which the
// block remembers. Each call that finds the block used up asks the source
// again, so the end is met exactly as by reading one byte per call. A
// Ctrl-Z tail held back goes first; when no byte follows it, it goes.
bool FillReadAhead(ReportFile& file) {
  ReportReadAhead& ahead = file.readAhead;
  if (ahead.next < ahead.end) return true;
  if (!file.bytes || ahead.failed) return false;
  do {
    uint32_t held = ahead.heldBack;
    memmove(ahead.bytes, ahead.bytes + ahead.end, held);
    ahead.next = ahead.end = ahead.heldBack = 0;
    uint32_t got = ReadCharacters(file, ahead.bytes + held, sizeof ahead.bytes - held);
    if (got == ByteSource::kFailed) {
      ahead.failed = true;
      ahead.error = GetLastError();
      DebugLog("GetLine: read failed - GetLastError() = %d\n", static_cast<int>(ahead.error));
      return false;
    }
    if (got == 0) return false;
    ahead.end = held + got;
    if (!file.job.raw) ahead.heldBack = CtrlZTail(ahead.bytes, ahead.end);
    ahead.end -= ahead.heldBack;
  } while (ahead.end == 0);
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
  file.readAhead.heldBack = 0;
  file.readAhead.encoding = ReportEncoding::kUnknown;
  file.readAhead.failed = false;
  file.readAhead.error = 0;
}

}  // namespace plenwick
