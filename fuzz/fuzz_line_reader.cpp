// Fuzzes the report line reader and the overstrike decoder: the input
// (after one byte of settings) is read from memory line by line with
// ReadLine, and each line is decoded and cut into runs. What comes back must
// be the input's characters (its mark dropped, UTF-16 converted at once, a
// Ctrl-Z tail gone), line ends and form feeds accounted for, the runs must
// cover each decoded text exactly, no control character may reach the
// page outside raw mode, and a line the reader calls plain must decode to
// itself.
#include <cstdint>
#include <string>
#include <vector>

#include "core/print_job.h"
#include "expected_characters.h"
#include "render/byte_source.h"
#include "render/line_reader.h"
#include "render/overstrike.h"
#include "render/utf8_text.h"
#include "simwin/control.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool Ascii(const char* text, int length) {
  for (int i = 0; i < length; ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  }
  return true;
}

// Decodes one line and walks its runs as WriteReportLine does, as 8-bit
// text and with UTF-8 detected: the line is UTF-8 when it reads so,
// overprints stay inside the text, and UTF-8 stays well-formed.
void CheckDecoding(const char* line, int count, bool detectUtf8, plenwick::CellRules rules) {
  plenwick::DecodedLine decoded;
  plenwick::DecodeOverstrike(line, count, decoded, detectUtf8, &rules);
  const bool utf8 = decoded.utf8;
  // A line whose printed text is ASCII alone (it ends at a NUL) need not be
  // asked.
  Check(utf8 == (detectUtf8 && plenwick::ReadsAsUtf8(line, count)) ||
        (!utf8 && Ascii(decoded.text, decoded.length) && decoded.overprintCount == 0));
  Check(decoded.overprintCount >= 0 && decoded.overprintCount <= plenwick::kMaxOverprints);
  for (int i = 0; i < decoded.overprintCount; ++i) {
    const plenwick::Overprint& over = decoded.overprints[i];
    Check(over.position >= 0 && over.position < decoded.length);
    Check(over.length > 0 && over.length <= plenwick::kOverprintSize);
    if (i > 0) Check(over.position >= decoded.overprints[i - 1].position);
  }
  if (utf8) {
    Check(Ascii(decoded.text, decoded.length) ||
          plenwick::ReadsAsUtf8(decoded.text, decoded.length));
  }
  Check(decoded.length >= 0 && decoded.length < plenwick::kDecodedLineSize);
  Check(decoded.length <= count || !rules.passThrough);  // only tabs grow a line
  Check(decoded.text[decoded.length] == '\0');
  for (int i = 0; i < decoded.length; ++i) {
    unsigned char c = static_cast<unsigned char>(decoded.text[i]);
    Check(c != '\0' && decoded.attributes[i] <= 3);
    Check(rules.passThrough || (c >= ' ' && c != 0x7F));
  }
  int column = 0;
  int runs = 0;
  do {
    int length = plenwick::RunLength(decoded, column);
    Check(length > 0 || decoded.length == 0);
    for (int i = column; i < column + length; ++i)
      Check(decoded.attributes[i] == decoded.attributes[column]);
    if (column > 0) Check(decoded.attributes[column] != decoded.attributes[column - 1]);
    column += length;
    ++runs;
  } while (column < decoded.length);
  Check(column == decoded.length && runs <= decoded.length + 1);
}

void CheckDecoding(const char* line, int count, const plenwick::CellRules& rules) {
  CheckDecoding(line, count, false, rules);
  CheckDecoding(line, count, true, rules);
}

// The page loop puts a plain line undecoded, as one plain run of its text
// up to the line feed's terminator: decoding must give just that.
void CheckPlain(const char* line, int count, plenwick::CellRules rules) {
  plenwick::DecodedLine decoded;
  plenwick::DecodeOverstrike(line, count, decoded, true, &rules);
  int length = count > 0 && line[count - 1] == '\0' ? count - 1 : count;
  Check(!decoded.utf8 && decoded.overprintCount == 0 && decoded.length == length);
  for (int i = 0; i < length; ++i) {
    Check(decoded.text[i] == line[i] && decoded.attributes[i] == plenwick::kPlain);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int capacities[] = {1, 2, 5, 64, 512, 4097};
  bool raw = data[0] & 1;
  int capacity = capacities[(data[0] >> 1) % 6];
  plenwick::CellRules rules;
  rules.tabStop = 1 + (data[0] >> 5);
  rules.passThrough = raw;
  ++data;
  --size;

  plenwick::MemoryByteSource bytes(data, size);
  plenwick::PrintJob job;
  job.raw = raw;
  plenwick::ReportFile file(job);
  file.bytes = &bytes;
  plenwick::ResetLineReader(file);

  // What ReadLine must hand back: the file without CR and FF, each LF
  // stored as the line's terminator (an LF in raw mode).
  std::string expected;
  size_t formFeeds = 0;
  for (char c : ExpectedCharacters(data, size, raw)) {
    if (c == '\r') continue;
    if (c == '\f') {
      ++formFeeds;
      continue;
    }
    expected += c == '\n' ? (raw ? '\n' : '\0') : c;
  }

  std::vector<char> buffer(static_cast<size_t>(capacity));
  std::string read;
  size_t formFeedsRead = 0;
  for (size_t calls = 0;; ++calls) {
    Check(calls <= 2 * size + 4 || capacity == 1);  // UTF-16 grows by half in UTF-8
    plenwick::LineStatus status;
    int count = 0;
    bool plain = false;
    const char* line = plenwick::ReadLine(file, buffer.data(), capacity, count, status, plain);
    Check(count >= 0 && (count < capacity || count == 0));
    Check(buffer[capacity - 1] == '\0');
    Check(status == plenwick::CTL_TEXT || status == plenwick::CTL_FF ||
          status == plenwick::CTL_EOF);
    if (status == plenwick::CTL_EOF) {
      Check(count == 0);
      break;
    }
    if (status == plenwick::CTL_FF) ++formFeedsRead;
    read.append(line, static_cast<size_t>(count));
    if (count > 0) CheckDecoding(line, count, rules);
    // The page loop reads lines of up to 511 bytes, all that decoding keeps.
    if (plain && count < plenwick::kDecodedLineSize) CheckPlain(line, count, rules);
  }
  // A one-byte buffer holds no line: the reader reports the end at once.
  if (capacity > 1) {
    Check(read == expected);
    Check(formFeedsRead == formFeeds);
  }
  simwin::ClearRecords();  // the log lines the simulated Windows kept
  return 0;
}
