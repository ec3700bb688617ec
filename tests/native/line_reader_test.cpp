#include "render/line_reader.h"

#include "render/byte_source.h"
#include "render/overstrike.h"

#include <algorithm>
#include <random>

#include "test_support.h"

namespace {

using plenwick::CTL_EOF;
using plenwick::CTL_ERROR;
using plenwick::CTL_FF;
using plenwick::CTL_TEXT;
using plenwick::LineStatus;

struct Line {
  std::string bytes;  // the count bytes placed in the buffer
  LineStatus status;
  bool operator==(const Line& other) const {
    return bytes == other.bytes && status == other.status;
  }
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
  return out << ::testing::PrintToString(line.bytes) << " " << line.status;
}

// A reader that asks the file for one byte per _lread call: the read-ahead
// reader must give exactly what it gives.
int ReadLineBytewise(plenwick::ReportFile& file, char* buffer, int capacity, LineStatus& status) {
  status = CTL_TEXT;
  int count = 0;
  if (capacity > 0) buffer[capacity - 1] = '\0';
  while (count < capacity - 1) {
    unsigned char byte;
    UINT got = _lread(file.file.get(), &byte, 1);
    if (got != 1) break;
    if (byte == 12) {
      status = CTL_FF;
      break;
    }
    if (byte == 13) continue;
    if (byte == 10) {
      buffer[count++] = file.job.raw ? '\n' : '\0';
      break;
    }
    buffer[count++] = static_cast<char>(byte);
  }
  if (count == 0 && status == CTL_TEXT) status = CTL_EOF;
  return count;
}

// ReadLine, its line placed in the buffer as GetLine places it. A line it
// calls plain must be what decoding it gives: the text up to its
// terminator, in one plain run (the page loop puts it so, undecoded).
int ReadLineInPlace(plenwick::ReportFile& file, char* buffer, int capacity, LineStatus& status) {
  int count = 0;
  bool plain = false;
  const char* line = plenwick::ReadLine(file, buffer, capacity, count, status, plain);
  if (plain) {
    plenwick::DecodedLine decoded;
    plenwick::CellRules rules;
    rules.passThrough = file.job.raw;
    plenwick::DecodeOverstrike(line, count, decoded, true, &rules);
    int length = count > 0 && line[count - 1] == '\0' ? count - 1 : count;
    EXPECT_EQ(std::string(decoded.text, static_cast<size_t>(decoded.length)),
              std::string(line, static_cast<size_t>(length)));
    EXPECT_FALSE(decoded.utf8);
    EXPECT_EQ(decoded.overprintCount, 0);
    EXPECT_EQ(std::count(decoded.attributes, decoded.attributes + decoded.length, plenwick::kPlain),
              decoded.length);
  }
  if (line != buffer) memmove(buffer, line, static_cast<size_t>(count));
  return count;
}

using Reader = int (*)(plenwick::ReportFile&, char*, int, LineStatus&);
// The copying reader and the one that hands lines out where they lie give
// the same lines.
const Reader kReaders[] = {plenwick::GetLine, ReadLineInPlace};

class LineReaderTest : public plenwick_test::SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    plenwick::ResetPrintJob(job_);
  }
  void TearDown() override {
    CloseReport();
    SimTest::TearDown();
  }

  // The report as a file, read through the platform as when printing.
  void OpenReport(const std::string& bytes, const std::string& name = "report.txt") {
    WriteFile(name, bytes);
    file_.file.reset(_lopen(name.c_str(), OF_READ));
    ASSERT_TRUE(file_.file);
    file_.bytes = &file_.fileBytes;
    plenwick::ResetLineReader(file_);
  }

  void CloseReport() {
    file_.file.reset();
    file_.bytes = nullptr;
    plenwick::ResetLineReader(file_);
  }

  // Every line up to and including the first CTL_EOF, checking that the
  // buffer always ends with a terminator and that no byte past the count
  // is written.
  std::vector<Line> ReadAll(int capacity, Reader reader = plenwick::GetLine) {
    std::vector<Line> lines;
    std::vector<char> buffer(static_cast<size_t>(capacity) + 1, '#');
    for (;;) {
      LineStatus status;
      int count = reader(file_, buffer.data(), capacity, status);
      EXPECT_GE(count, 0);
      EXPECT_LT(count, std::max(capacity, 1));
      if (capacity > 0) {
        EXPECT_EQ(buffer[capacity - 1], '\0');
      }
      EXPECT_EQ(buffer[capacity], '#');
      lines.push_back({std::string(buffer.data(), static_cast<size_t>(count)), status});
      if (status == CTL_EOF || status == CTL_ERROR) return lines;
    }
  }

  // The block reader, and lines handed out in place, give what reading one
  // byte at a time gives.
  void ExpectWhatBytewiseGives(const std::string& input, int capacity, bool raw) {
    std::vector<Line> lines[3];
    const Reader readers[] = {plenwick::GetLine, ReadLineInPlace, ReadLineBytewise};
    for (int i = 0; i < 3; ++i) {
      OpenReport(input);
      job_.raw = raw;
      lines[i] = ReadAll(capacity, readers[i]);
      CloseReport();
    }
    EXPECT_EQ(lines[0], lines[2]);
    EXPECT_EQ(lines[1], lines[2]);
  }

  plenwick::PrintJob job_;
  plenwick::ReportFile file_{job_};
};

struct ReadCase {
  const char* name;
  std::string input;
  bool raw;
  int capacity;
  std::vector<Line> lines;  // before the closing CTL_EOF
};

TEST_F(LineReaderTest, SplitsLinesAsDescribed) {
  std::string longLine(600, 'x');
  const ReadCase cases[] = {
      {"crlf", "abc\r\n", false, 512, {{std::string("abc\0", 4), CTL_TEXT}}},
      {"crlf raw", "abc\r\n", true, 512, {{"abc\n", CTL_TEXT}}},
      {"lone and doubled cr",
       "a\rb\r\r\nc",
       false,
       512,
       {{std::string("ab\0", 3), CTL_TEXT}, {"c", CTL_TEXT}}},
      {"form feeds",
       "abc\fdef\n\fx",
       false,
       512,
       {{"abc", CTL_FF}, {std::string("def\0", 4), CTL_TEXT}, {"", CTL_FF}, {"x", CTL_TEXT}}},
      {"empty lines",
       "\n\r\n",
       false,
       512,
       {{std::string("\0", 1), CTL_TEXT}, {std::string("\0", 1), CTL_TEXT}}},
      {"control bytes kept",
       std::string("a\0b\bc\td\n", 8),
       false,
       512,
       {{std::string("a\0b\bc\td\0", 8), CTL_TEXT}}},
      {"long line",
       longLine + "\n",
       false,
       512,
       {{std::string(511, 'x'), CTL_TEXT}, {std::string(89, 'x') + '\0', CTL_TEXT}}},
      {"small buffer",
       "abcdefg\n",
       false,
       4,
       {{"abc", CTL_TEXT}, {"def", CTL_TEXT}, {std::string("g\0", 2), CTL_TEXT}}},
      {"full buffer before line feed",
       "abc\n",
       false,
       4,
       {{"abc", CTL_TEXT}, {std::string("\0", 1), CTL_TEXT}}},
      {"UTF-8 mark dropped",
       "\xEF\xBB\xBF"
       "ab",
       false,
       512,
       {{"ab", CTL_TEXT}}},
      {"UTF-8 mark kept raw", "\xEF\xBB\xBF\x1A", true, 512, {{"\xEF\xBB\xBF\x1A", CTL_TEXT}}},
      {"UTF-16LE: pair, lone half, odd byte",
       std::string("\xFF\xFE"
                   "a\0\x3D\xD8\x00\xDE\n\0\x00\xD8"
                   "b\0x",
                   15),
       false,
       512,
       {{std::string("a\xF0\x9F\x98\x80\0", 6), CTL_TEXT},
        {"\xEF\xBF\xBD"
         "b\xEF\xBF\xBD",
         CTL_TEXT}}},
      {"UTF-16BE", std::string("\xFE\xFF\0\xE9\0\f", 6), false, 512, {{"\xC3\xA9", CTL_FF}}},
      {"Ctrl-Z and line ends at the end",
       "a\x1A\n\x1A\r\n",
       false,
       512,
       {{std::string("a\x1A\0", 3), CTL_TEXT}}},
      {"Ctrl-Z alone", "\x1A", false, 512, {}},
      {"only carriage returns", "\r\r", false, 512, {}},
      {"empty file", "", false, 512, {}},
  };
  for (Reader reader : kReaders) {
    for (const ReadCase& c : cases) {
      SCOPED_TRACE(c.name);
      OpenReport(c.input);
      job_.raw = c.raw;
      std::vector<Line> expected = c.lines;
      expected.push_back({"", CTL_EOF});
      EXPECT_EQ(ReadAll(c.capacity, reader), expected);
      CloseReport();
    }
  }
}

TEST_F(LineReaderTest, EndOfFileStaysAndIsLoggedEachTime) {
  std::string log = EnableLog();
  OpenReport("last");
  SetLastError(0);  // the end of a file is no error: the last error stays as it was
  char buffer[512];
  LineStatus status;
  EXPECT_EQ(plenwick::GetLine(file_, buffer, sizeof buffer, status), 4);
  EXPECT_EQ(status, CTL_TEXT);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(plenwick::GetLine(file_, buffer, sizeof buffer, status), 0);
    EXPECT_EQ(status, CTL_EOF);
  }
  std::string line = "GetLine: found EOF - GetLastError() = 0\n";
  EXPECT_EQ(ReadFile(log), line + line + line);
}

// A failed read is no end of the report: the reader says so, for that
// call and every later one, and the log keeps the system's error code. A
// failure right at the end of a block or of a line is met the same way.
TEST_F(LineReaderTest, ReadErrorIsNoEndOfFile) {
  struct Case {
    long failAfter;
    std::vector<Line> expected;
  };
  const Case cases[] = {
      {5, {{"abcde", CTL_ERROR}}},
      {9, {{std::string("abcdefgh\0", 9), CTL_TEXT}, {"", CTL_ERROR}}},
      {0, {{"", CTL_ERROR}}},
      {4096, {{std::string("abcdefgh\0", 9), CTL_TEXT}, {std::string(4087, 'x'), CTL_ERROR}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failAfter);
    std::string log = EnableLog();
    simwin::FailReadsAfter(c.failAfter, 23);  // ERROR_CRC
    OpenReport("abcdefgh\n" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(ReadAll(512 * 9), c.expected);
    char buffer[16];
    LineStatus status;
    EXPECT_EQ(plenwick::GetLine(file_, buffer, sizeof buffer, status), 0);
    EXPECT_EQ(status, CTL_ERROR);
    EXPECT_EQ(ReadFile(log), "GetLine: read failed - GetLastError() = 23\n");
    CloseReport();
  }
}

TEST_F(LineReaderTest, GivesWhatReadingOneByteAtATimeGives) {
  // Random reports over the bytes that matter, long enough to cross the
  // read-ahead block several times, read with several buffer sizes.
  std::mt19937 random(20240611);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\f', '\b', '\0', '\xFF', '_'};
  for (int round = 0; round < 40; ++round) {
    std::string input;
    size_t length = random() % 13000;
    for (size_t i = 0; i < length; ++i) input += alphabet[random() % sizeof alphabet];
    int capacity = std::vector<int>{1, 2, 3, 17, 512, 4097, 5000}[round % 7];
    SCOPED_TRACE("round " + std::to_string(round));
    ExpectWhatBytewiseGives(input, capacity, round % 2 == 1);
  }
}

TEST_F(LineReaderTest, LongOrdinaryTextGivesWhatReadingOneByteAtATimeGives) {
  // Mostly printable text, as reports are, with now and then a byte near
  // the line-end bytes (tab, 14, 0x8D), a UTF-8 character or a line end at
  // any offset.
  std::mt19937 random(20261207);
  const char rare[] = {'\r', '\n', '\f', '\t', '\x0e', '\x0b', '\x8d', '\x8a', '\0', '\b', '\xc3'};
  for (int round = 0; round < 24; ++round) {
    std::string input;
    size_t length = 9000 + random() % 4000;
    for (size_t i = 0; i < length; ++i) {
      char c = random() % 40 == 0 ? rare[random() % sizeof rare]
                                  : static_cast<char>('!' + random() % 90);
      input += c;
      if (c == '\xc3') input += '\x96';  // an O with diaeresis
    }
    int capacity = std::vector<int>{7, 8, 9, 512, 4097, 20000}[round % 6];
    SCOPED_TRACE("round " + std::to_string(round));
    ExpectWhatBytewiseGives(input, capacity, round % 2 == 1);
  }
}

// Which lines the reader calls plain: none that the decoder would change,
// wherever in the line (in a 16-byte block or in the bytes after the last
// one) or in which read-ahead block the byte lies; and the ordinary ones.
TEST_F(LineReaderTest, TellsWhichLinesNeedNoDecoding) {
  const std::string pad(40, 'x');
  const std::string block(4096 - 20, 'y');  // the next line crosses into the second block
  const struct {
    const char* name;
    std::string input;
    std::vector<bool> plain;  // of each line before the end
  } cases[] = {
      {"ordinary lines", "abc\r\n" + pad + "\n~ \x7f!\f", {true, true, false}},
      {"backspace", "a\bb\n" + pad + "_\b" + pad + "\n", {false, false}},
      {"NUL", std::string("a\0b\n", 4), {false}},
      {"tab and other control bytes", "a\tb\n\x1b[1m\n\x0e\n", {false, false, false}},
      {"UTF-8 and high bytes",
       pad + "\xc3\x96\n\x80\n" + pad + "\xff" + pad + "\n",
       {false, false, false}},
      {"carriage returns dropped", "a\rb\r\r\n", {true}},
      {"straddling the block",
       block + "\n" + pad + "\n" + pad + "\b" + pad + "\n",
       {true, true, false}},
      {"straddling, decoded part first",
       block + "\n" + pad.substr(0, 10) + "\xc3\x96" + pad + "\n",
       {true, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OpenReport(c.input);
    std::vector<bool> plain;
    char buffer[5000];  // the block-long line whole
    for (;;) {
      int count = 0;
      bool isPlain = false;
      LineStatus status;
      plenwick::ReadLine(file_, buffer, sizeof buffer, count, status, isPlain);
      if (status == CTL_EOF) break;
      plain.push_back(isPlain);
    }
    EXPECT_EQ(plain, c.plain);
    CloseReport();
  }
}

TEST_F(LineReaderTest, BytesReadAheadStayWithTheirSource) {
  const std::string first = "first line\nsecond line\n";
  const std::string other = "other\n";
  plenwick::MemoryByteSource firstBytes(first.data(), first.size());
  plenwick::MemoryByteSource otherBytes(other.data(), other.size());
  char buffer[512];
  LineStatus status;
  file_.bytes = &firstBytes;
  plenwick::GetLine(file_, buffer, sizeof buffer, status);
  EXPECT_STREQ(buffer, "first line");
  // Another source, even without ResetLineReader, gives its own bytes.
  file_.bytes = &otherBytes;
  EXPECT_EQ(plenwick::GetLine(file_, buffer, sizeof buffer, status), 6);
  EXPECT_STREQ(buffer, "other");
  // A file closed before its end leaves nothing for the next one, which is
  // read through the same source object.
  OpenReport("first line\nsecond line\n", "first.txt");
  plenwick::GetLine(file_, buffer, sizeof buffer, status);
  CloseReport();
  OpenReport("third\n", "third.txt");
  EXPECT_EQ(ReadAll(512),
            (std::vector<Line>{{std::string("third\0", 6), CTL_TEXT}, {"", CTL_EOF}}));
}

TEST_F(LineReaderTest, MemoryGivesWhatTheFileGives) {
  const std::string input = "a\r\nb\bb\fc\n\nlast";
  OpenReport(input);
  std::vector<Line> fromFile = ReadAll(5);
  CloseReport();
  plenwick::MemoryByteSource bytes(input.data(), input.size());
  file_.bytes = &bytes;
  EXPECT_EQ(ReadAll(5), fromFile);
}

}  // namespace
