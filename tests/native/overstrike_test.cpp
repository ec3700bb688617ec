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
  bool raw = false;
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
      {"other letter struck over: one cell", "x\by", "x", "0"},
      {"underscore first underlines", "_\bF_\bm_\bw", "Fmw", "111"},
      {"underscore first, then bold", "_\bX\bX", "X", "3"},
      {"bold underscore then letter", "_\b__\bX", "_X", "11"},
      {"bullet", "+\bo", "+", "0"},
      {"backspace first then underscore", "\b_x", "x", "0"},
      {"backspace first then letter", "\bxy", "xy", "00"},
      {"backspace last", "ab\b", "ab", "00"},
      {"two backspaces", "a\b\b_", "a", "1"},
      {"many backspaces", "\b\b\ba\b\b\b\b", "a", "0"},
      {"styles inside a word", "ab\b_c\bcd", "abcd", "0120"},
      {"nul ends the text", std::string("ab\0c\b_d", 7), "ab", "00"},
      {"line feed stored as terminator", std::string("abc\0", 4), "abc", "000"},
      {"raw line feed kept", "abc\n", "abc\n", "0000", true},
      {"control bytes are kept in raw mode", "a\tb\x01\x1b[1m", "a\tb\x01\x1b[1m", "00000000",
       true},
      {"_ BS at the line end keeps the _", "_\b\n", "_\n", "00", true},
      {"control bytes are blank cells", "a\tb\x01\x7f|", "a       b  |", "000000000000"},
      {"tab after a wide character", "\xe6\x95\xb0\tb", "\xe6\x95\xb0      b", "0000000000"},
      {"SGR bold and underline", "\x1b[1ma\x1b[4mb\x1b[22mc\x1b[24;1md\x1b[me", "abcde", "23120"},
      {"colour arguments are no attributes", "\x1b[38;5;1;4ma\x1b[0;48;2;1;4;1mb\x1b[2Jc", "abc",
       "100"},
      {"ESC without [ keeps a blank cell", "a\x1b(b\x1b[1", "a (b [1", "0000000"},
      {"empty", "", "", ""},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    DecodedLine decoded;
    memset(decoded.attributes, 0xAA, sizeof decoded.attributes);  // left over from a line before
    plenwick::CellRules rules;
    rules.passThrough = c.raw;
    plenwick::DecodeOverstrike(c.line.data(), static_cast<int>(c.line.size()), decoded, true,
                               &rules);
    EXPECT_EQ(Text(decoded), c.text);
    EXPECT_EQ(Attributes(decoded), c.attributes);
    EXPECT_EQ(decoded.text[decoded.length], '\0');
  }
}

TEST(DecodeOverstrike, KeepsEveryOverprintOfAFullLine) {
  std::string line;
  while (line.size() + 3 <= 511) line += "+\bo";
  DecodedLine decoded;
  plenwick::DecodeOverstrike(line.data(), static_cast<int>(line.size()), decoded);
  EXPECT_EQ(decoded.length, 170);
  ASSERT_EQ(decoded.overprintCount, 170);
  EXPECT_EQ(decoded.overprints[169].position, 169);
  // Struck over and over in one cell, more than a line can hold.
  std::string heap = "x";
  for (int i = 0; i < 1000; ++i) heap += "\by";
  plenwick::DecodeOverstrike(heap.data(), static_cast<int>(heap.size()), decoded);
  EXPECT_LE(decoded.overprintCount, plenwick::kMaxOverprints);
  EXPECT_LT(decoded.length, plenwick::kDecodedLineSize);
  // A character longer than an overprint holds (a letter with many
  // combining marks) goes beside the cell instead.
  std::string marks = "x\b\xC3\xA9";
  for (int i = 0; i < 10; ++i) marks += "\xCC\x81";
  plenwick::DecodeOverstrike(marks.data(), static_cast<int>(marks.size()), decoded, true);
  EXPECT_EQ(decoded.overprintCount, 0);
  EXPECT_EQ(Text(decoded), marks.substr(0, 1) + marks.substr(2));
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

// Where each glyph of a line lands: its column (x / advance), its text, its
// style (- plain, b bold, u underline, B both) and whether it went out as
// UTF-8 (w). Each case ends with a character whose column shows that
// what was struck over took one cell.
struct Drawn {
  int column;
  std::string text;
  char style;
  bool wide;
};

std::vector<Drawn> Glyphs(const std::vector<simwin::GdiEvent>& texts) {
  std::vector<Drawn> drawn;
  for (const auto& t : texts) {
    char style = t.weight == 700 ? (t.underline ? 'B' : 'b') : (t.underline ? 'u' : '-');
    drawn.push_back(Drawn{t.x / 10, t.text, style, t.wide});
  }
  return drawn;
}

std::string Show(const std::vector<Drawn>& drawn) {
  std::string shown;
  for (const auto& d : drawn) {
    shown += std::to_string(d.column) + ":" + d.text + ":" + d.style + (d.wide ? "w " : " ");
  }
  return shown;
}

TEST_F(WriteLineTest, PutsEachOverstruckGlyphInItsCell) {
  struct Case {
    const char* name;
    std::string line;
    std::vector<Drawn> drawn;
  };
  const Case cases[] = {
      {"letter, backspace, underscore", "X\b_|", {{0, "X", 'u', false}, {1, "|", '-', false}}},
      {"underscore, backspace, letter", "_\bX|", {{0, "X", 'u', false}, {1, "|", '-', false}}},
      {"bold", "X\bX|", {{0, "X", 'b', false}, {1, "|", '-', false}}},
      {"bold and underlined, nroff", "_\bX\bX|", {{0, "X", 'B', false}, {1, "|", '-', false}}},
      {"underlined m and w", "_\bm_\bw|", {{0, "mw", 'u', false}, {2, "|", '-', false}}},
      {"middle dot after a letter", "x\bm|", {{0, "x\xB7|", '-', false}}},
      {"two characters in one cell", "a+\bo|", {{0, "a+|", '-', false}, {1, "o", '-', false}}},
      {"a line of bullets",
       "+\bo +\bo +\bo|",
       {{0, "+ + +|", '-', false},
        {0, "o", '-', false},
        {2, "o", '-', false},
        {4, "o", '-', false}}},
      {"the struck character made bold", "a\bb\bb|", {{0, "a|", '-', false}, {0, "b", 'b', false}}},
      {"backspaces at the start, in a run and at the end",
       "\b\bab\b\b\b_c\b",
       {{0, "a", '-', false}, {1, "b", 'u', false}, {2, "c", '-', false}}},
      {"8-bit accents stay 8-bit",
       "caf\xE9\b\xE9|",
       {{0, "caf", '-', false}, {3, "\xE9", 'b', false}, {4, "|", '-', false}}},
      {"UTF-8 bold", "\xC3\xA9\b\xC3\xA9|", {{0, "\xC3\xA9", 'b', true}, {1, "|", '-', true}}},
      {"UTF-8 underlined", "_\b\xC3\xA9|", {{0, "\xC3\xA9", 'u', true}, {1, "|", '-', true}}},
      {"UTF-8 struck over", "\xC3\xA9\bx|", {{0, "\xC3\xA9|", '-', true}, {0, "x", '-', true}}},
      {"wide characters take two columns",
       "\xE6\x97\xA5\xE6\x9C\xAC|",
       {{0, "\xE6\x97\xA5", '-', true}, {2, "\xE6\x9C\xAC", '-', true}, {4, "|", '-', true}}},
      {"a wide character underlined",
       "_\b\xE6\x97\xA5|",
       {{0, "\xE6\x97\xA5", 'u', true}, {2, "|", '-', true}}},
      {"a combining mark takes none, drawn in its letter's cell",
       "ae\xCC\x81|",
       {{0, "ae", '-', true}, {1, "\xCC\x81", '-', true}, {2, "|", '-', true}}},
      {"a combining mark after a wide character",
       "\xE6\x97\xA5\xCC\x81|",
       {{0, "\xE6\x97\xA5", '-', true}, {0, "\xCC\x81", '-', true}, {2, "|", '-', true}}},
      {"a combining mark underlined with its letter",
       "e\xCC\x81\b_|",
       {{0, "e", 'u', true}, {0, "\xCC\x81", 'u', true}, {1, "|", '-', true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    size_t before = Events(simwin::GdiEvent::kText).size();
    plenwick::WriteReportLine(file_, c.line.data(), static_cast<int>(c.line.size()), 0, 10, 50);
    auto texts = Events(simwin::GdiEvent::kText);
    texts.erase(texts.begin(), texts.begin() + static_cast<long>(before));
    EXPECT_EQ(Show(Glyphs(texts)), Show(c.drawn));
    // Drawn over a background box, a glyph would wipe out the one beneath.
    for (const auto& t : texts) EXPECT_TRUE(t.transparent);
  }
}

TEST_F(WriteLineTest, AJobThatNamesItsCodePageGetsNoUtf8) {
  const std::string line = "\xC3\xA9t\xC3\xA9";
  for (int option = 0; option < 2; ++option) {
    SCOPED_TRACE(option);
    size_t before = Events(simwin::GdiEvent::kText).size();
    job_.oemTranslation = option == 0;
    job_.ansiTranslation = option == 1;
    plenwick::WriteReportLine(file_, line.data(), static_cast<int>(line.size()), 0, 10, 50);
    auto texts = Events(simwin::GdiEvent::kText);
    ASSERT_EQ(texts.size(), before + 1);
    EXPECT_FALSE(texts.back().wide);
    EXPECT_EQ(texts.back().text.size(), line.size());
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
