#include "render/overstrike.h"

#include "render_test_support.h"

namespace {

using plenwick::DecodedLine;

std::string Text(const DecodedLine& decoded) { return std::string(decoded.text, decoded.length); }

// The attributes of the printed characters, one digit each.
std::string Attributes(const DecodedLine& decoded) {
  std::string digits;
  for (int i = 0; i < decoded.length; ++i) digits += static_cast<char>('0' + decoded.attributes[i]);
  return digits;
}

struct DecodeCase {
  const char* name;
  std::string line;
  std::string text;
  std::string attributes;
};

TEST(DecodeOverstrike, AppliesTheRulesInTheirOrder) {
  const DecodeCase cases[] = {
      {"plain", "abc", "abc", "000"},
      {"underline", "A\b_", "A", "1"},
      {"bold", "A\bA", "A", "2"},
      {"bold then underline", "A\bA\b_", "A", "3"},
      {"underline then bold", "A\b_\bA", "A", "3"},
      {"underscore struck by underscore is underlined", "_\b_", "_", "1"},
      {"bold m is bold, not a dot", "m\bm", "m", "2"},
      {"middle dot after m", "x\bm", "x\xB7", "00"},
      {"middle dot after w", "x\bw", "x\xB7", "00"},
      {"middle dot at the start", "\bm!", "\xB7!", "00"},
      {"other letter: backspace dropped", "x\by", "xy", "00"},
      {"backspace first then underscore", "\b_x", "x", "0"},
      {"backspace first then letter", "\bxy", "xy", "00"},
      {"backspace last", "ab\b", "ab", "00"},
      {"two backspaces", "a\b\b_", "a", "1"},
      {"styles inside a word", "ab\b_c\bcd", "abcd", "0120"},
      {"nul ends the text", std::string("ab\0c\b_d", 7), "ab", "00"},
      {"line feed stored as terminator", std::string("abc\0", 4), "abc", "000"},
      {"raw line feed kept", "abc\n", "abc\n", "0000"},
      {"control bytes are characters", "a\tb\x01", "a\tb\x01", "0000"},
      {"empty", "", "", ""},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    DecodedLine decoded;
    memset(decoded.attributes, 0xAA, sizeof decoded.attributes);  // left over from a line before
    plenwick::DecodeOverstrike(c.line.data(), static_cast<int>(c.line.size()), decoded);
    EXPECT_EQ(Text(decoded), c.text);
    EXPECT_EQ(Attributes(decoded), c.attributes);
    EXPECT_EQ(decoded.text[decoded.length], '\0');
  }
}

TEST(DecodeOverstrike, KeepsAFullLineAndCutsALongerOne) {
  DecodedLine decoded;
  std::string full(511, 'x');
  plenwick::DecodeOverstrike(full.data(), 511, decoded);
  EXPECT_EQ(Text(decoded), full);
  std::string longer(2000, 'y');
  plenwick::DecodeOverstrike(longer.data(), 2000, decoded);
  EXPECT_EQ(decoded.length, plenwick::kDecodedLineSize - 1);
  EXPECT_EQ(decoded.text[decoded.length], '\0');
}

// Lines written on a printer device context with the style fonts made.
class WriteLineTest : public plenwick_test::PrinterDcTest {
 protected:
  void SetUp() override {
    PrinterDcTest::SetUp();
    ASSERT_TRUE(plenwick::CreateStyleFonts(file_));
  }
};

TEST_F(WriteLineTest, CutsARunAtEveryChangeOfStyle) {
  std::string line = std::string("ab\bbc\b_d\bd\b_ef\0", 15);
  plenwick::WriteReportLine(file_, line.data(), static_cast<int>(line.size()), 3, 25, 50);
  struct Run {
    int x;
    std::string text;
    int weight;
    bool underline;
  };
  const Run expected[] = {{0, "a", 400, false},
                          {25, "b", 700, false},
                          {50, "c", 400, true},
                          {75, "d", 700, true},
                          {100, "ef", 400, false}};
  auto texts = Events(simwin::GdiEvent::kText);
  ASSERT_EQ(texts.size(), 5u);
  for (size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(texts[i].x, expected[i].x);
    EXPECT_EQ(texts[i].y, 150);
    EXPECT_EQ(texts[i].text, expected[i].text);
    EXPECT_EQ(texts[i].weight, expected[i].weight);
    EXPECT_EQ(texts[i].underline, expected[i].underline);
  }
}

TEST_F(WriteLineTest, AnEmptyTextIsOneEmptyRun) {
  plenwick::WriteReportLine(file_, "\0", 1, 0, 25, 50);
  auto texts = Events(simwin::GdiEvent::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "");
  EXPECT_EQ(texts[0].x, 0);
  job_.raw = true;
  plenwick::WriteReportLine(file_, "\b_", 2, 1, 25, 50);
  auto escapes = Events(simwin::GdiEvent::kEscape);
  ASSERT_EQ(escapes.size(), 1u);
  EXPECT_EQ(escapes[0].text, "");
}

TEST_F(WriteLineTest, RawModeSendsEachRunUnchanged) {
  job_.raw = true;
  std::string line = "ab\b_\tc\n";
  plenwick::WriteReportLine(file_, line.data(), static_cast<int>(line.size()), 2, 25, 50);
  EXPECT_TRUE(Events(simwin::GdiEvent::kText).empty());
  auto escapes = Events(simwin::GdiEvent::kEscape);
  ASSERT_EQ(escapes.size(), 3u);
  EXPECT_EQ(escapes[0].text, "a");
  EXPECT_EQ(escapes[1].text, "b");  // underlined in the text, unstyled here
  EXPECT_EQ(escapes[2].text, "\tc\n");
  for (const auto& escape : escapes) EXPECT_EQ(escape.escape, PASSTHROUGH);
}

}  // namespace
