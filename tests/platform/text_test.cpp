// Text services: MulDiv's rounding and limits, and the code page
// conversions (1252, UTF-8 and the OEM code page 437).
#include <climits>
#include <string>
#include <vector>

#include "conformance.h"

namespace conformance {
namespace {

TEST(MulDivRounding, RoundsHalfAwayFromZeroAndFailsWithMinusOne) {
  // INT_MIN is never an answer: -1 is the failure, and only +-(2^31 - 1)
  // are results. Both platforms off Windows share one MulDiv.
  const struct {
    int number, numerator, denominator, result;
  } cases[] = {
      {10, 300, 72, 42},  // 41.67: the report font's height
      {5, 1, 4, 1},       // 1.25
      {3, 1, 2, 2},       // 1.5
      {-3, 1, 2, -2},     // -1.5
      {3, -1, 2, -2},
      {3, 1, -2, -2},
      {-3, -1, -2, -2},
      {-3, 1, -2, 2},
      {-5, 1, -2, 3},
      {1, 1, -2, -1},
      {-1, 3, 2, -2},
      {1, 1, 3, 0},
      {-1, 1, 3, 0},
      {0, 5, 7, 0},
      {0, 0, 0, -1},  // a zero divisor
      {5, 1, 0, -1},
      {-5, 1, 0, -1},
      {1 << 30, 4, 8, 1 << 29},  // the product needs 64 bits
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {INT_MAX, 2, 2, INT_MAX},
      {-INT_MAX, 1, 1, -INT_MAX},
      {INT_MAX, 2, 1, -1},  // the result does not fit
      {INT_MIN, 2, 1, -1},
      {INT_MIN, 1, -1, -1},
      {INT_MIN, 1, 1, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.result)
        << "MulDiv(" << c.number << ", " << c.numerator << ", " << c.denominator << ")";
  }
}

std::u16string ToUtf16(UINT codePage, const std::string& bytes) {
  WCHAR units[64];
  int length =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), units, 64);
  return std::u16string(units, units + length);
}

std::string FromUtf16(UINT codePage, DWORD flags, const std::u16string& text, BOOL* replaced) {
  char bytes[64];
  std::vector<WCHAR> units(text.begin(), text.end());
  int length = WideCharToMultiByte(codePage, flags, units.data(), static_cast<int>(units.size()),
                                   bytes, sizeof bytes, nullptr, replaced);
  return std::string(bytes, static_cast<size_t>(length > 0 ? length : 0));
}

// Every byte of 1252 comes back as it went, the five bytes it leaves
// unassigned included.
TEST(CodePages, Every1252ByteMakesTheRoundTrip) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::vector<WCHAR> units(all.size());
  ASSERT_EQ(MultiByteToWideChar(1252, 0, all.data(), static_cast<int>(all.size()), units.data(),
                                static_cast<int>(units.size())),
            static_cast<int>(all.size()));
  EXPECT_EQ(units[0x80 - 1], 0x20AC);  // euro
  EXPECT_EQ(units[0x9F - 1], 0x0178);  // Y diaeresis
  EXPECT_EQ(units[0xE9 - 1], 0x00E9);
  std::string back(all.size(), '\0');
  BOOL replaced = TRUE;
  ASSERT_EQ(
      WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, units.data(), static_cast<int>(units.size()),
                          &back[0], static_cast<int>(back.size()), nullptr, &replaced),
      static_cast<int>(all.size()));
  EXPECT_EQ(back, all);
  EXPECT_FALSE(replaced);
}

// A character 1252 lacks becomes '?', never a look-alike, and the caller
// is told.
TEST(CodePages, Unmappable1252CharactersBecomeAQuestionMark) {
  const struct {
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {u"\u4E2D", "?"},  // a Chinese character
      {u"\u0100", "?"},  // A macron: no best fit to 'A'
      {u"caf\u00E9 \u20AC", "caf\xE9 \x80"},
      {u"a\xD800"
       u"b",
       "a?b"},  // an unpaired surrogate
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    BOOL replaced = FALSE;
    EXPECT_EQ(FromUtf16(1252, WC_NO_BEST_FIT_CHARS, c.text, &replaced), c.bytes);
    EXPECT_EQ(replaced, c.bytes.find('?') != std::string::npos);
  }
  // A character beyond the 16-bit range is two units, each one '?'.
  DIVERGES_ON(kSimwin | kLinux, "a surrogate pair becomes one '?', not one for each unit") {
    EXPECT_EQ(FromUtf16(1252, WC_NO_BEST_FIT_CHARS, u"\U0001F600", nullptr), "??");
  }
}

// The ANSI code page of the ...A calls.
TEST(CodePages, TheAnsiCodePageIs1252) {
  DIVERGES_ON(kLinux, "the ANSI code page is UTF-8, the encoding of file names and CUPS") {
    EXPECT_EQ(ToUtf16(CP_ACP, "caf\xE9"), u"caf\u00E9");
  }
}

// Whole characters of every length; bytes that start no valid sequence
// become U+FFFD. Windows gives one U+FFFD for the longest start of a
// sequence that could still have been valid (a cut-short character); the
// shared decoder gives one for each byte.
TEST(CodePages, Utf8ToUtf16) {
  const unsigned perByte = kSimwin | kLinux;
  const struct {
    std::string bytes;
    std::u16string units;
    unsigned differsOn;
  } cases[] = {
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", u"caf\u00e9 \u20ac \U0001F600", 0},
      {"a\x80"
       "b",
       u"a\uFFFDb", 0},                                      // a stray continuation byte
      {"\xC0\xAF", u"\uFFFD\uFFFD", 0},                      // an overlong '/'
      {"\xED\xA0\x80", u"\uFFFD\uFFFD", perByte},            // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD", perByte},  // past U+10FFFF
      {"x\xE2\x82", u"x\uFFFD", perByte},                    // cut short at the end
      {"\xE2(\xA9", u"\uFFFD(\uFFFD", 0},                    // cut short by another
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    DIVERGES_ON(c.differsOn, "UTF-8: one U+FFFD for each byte of a bad sequence") {
      EXPECT_EQ(ToUtf16(CP_UTF8, c.bytes), c.units);
    }
  }
}

TEST(CodePages, Utf16ToUtf8) {
  BOOL* noDefault = nullptr;  // CP_UTF8 takes no default character
  EXPECT_EQ(FromUtf16(CP_UTF8, 0, u"caf\u00e9 \u20ac \U0001F600", noDefault),
            "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
  DIVERGES_ON(kSimwin | kLinux, "UTF-8: an unpaired surrogate becomes '?', not U+FFFD") {
    EXPECT_EQ(FromUtf16(CP_UTF8, 0,
                        u"a\xD800"
                        u"b",
                        noDefault),
              "a\xEF\xBF\xBD"
              "b");
  }
}

// The Win32 contract: a length to ask for, a terminator converted with it,
// a buffer too small refused, an unknown code page refused.
TEST(CodePages, WideConversionContract) {
  const WCHAR text[] = {'c', 0xE9, 0x20AC, 0x4E2D, 0};
  EXPECT_EQ(WideCharToMultiByte(1252, 0, text, -1, nullptr, 0, nullptr, nullptr), 5);
  char ansi[5];
  ASSERT_EQ(WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text, -1, ansi, 5, nullptr, nullptr),
            5);
  EXPECT_STREQ(ansi, "c\xE9\x80?");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr), 10);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, -1, ansi, 5, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  WCHAR wide[2];
  SetLastError(0xdeadbeef);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, wide, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(MultiByteToWideChar(12345, 0, "x", 1, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

unsigned char ToOem(unsigned char c) {
  char in = static_cast<char>(c), out = 0;
  CharToOemBuffA(&in, &out, 1);
  return static_cast<unsigned char>(out);
}

unsigned char ToAnsi(unsigned char c) {
  char in = static_cast<char>(c), out = 0;
  OemToCharBuffA(&in, &out, 1);
  return static_cast<unsigned char>(out);
}

TEST(CodePages, ConvertsBetween1252And437) {
  struct Pair {
    unsigned char ansi, oem;
  };
  const Pair pairs[] = {
      {0xE9, 0x82},  // e acute
      {0xFC, 0x81},  // u umlaut
      {0xA3, 0x9C},  // pound
      {0xB7, 0xFA},  // middle dot
      {0xC4, 0x8E},  // A umlaut
      {0xDF, 0xE1},  // sharp s
      {0xB0, 0xF8},  // degree
      {0x83, 0x9F},  // f hook
      {0xA0, 0xFF},  // no-break space
      {'A', 'A'},
  };
  for (const Pair& pair : pairs) {
    EXPECT_EQ(ToOem(pair.ansi), pair.oem) << std::hex << int(pair.ansi);
    EXPECT_EQ(ToAnsi(pair.oem), pair.ansi) << std::hex << int(pair.oem);
  }
  // A round trip keeps every character both have.
  for (int c = 0x80; c < 256; ++c) {
    if (c == 0x87) continue;  // below
    unsigned char oem = ToOem(static_cast<unsigned char>(c));
    if (oem >= 0x80) {
      EXPECT_EQ(ToAnsi(oem), c) << std::hex << c;
    }
  }
  // The double dagger has no equal in 437; Windows takes a box drawing
  // character for it, which comes back as '+'.
  DIVERGES_ON(kSimwin | kLinux, "OEM best fits: the double dagger is '?' in 437") {
    EXPECT_EQ(ToAnsi(ToOem(0x87)), '+');
  }
}

TEST(CodePages, CharactersWithoutEquivalentGetABestFit) {
  EXPECT_EQ(ToOem(0xC0), 'A');   // A grave
  EXPECT_EQ(ToOem(0xA7), 0x15);  // section sign, an OEM glyph
  EXPECT_EQ(ToOem(0x80), '?');   // euro
  EXPECT_EQ(ToAnsi(0xC4), '-');  // box horizontal
  EXPECT_EQ(ToAnsi(0xDA), '+');  // box corner
  // Windows' best fit for both is the broken bar.
  DIVERGES_ON(kSimwin | kLinux, "OEM best fits: box vertical is '|', light shade '?'") {
    EXPECT_EQ(ToAnsi(0xB3), 0xA6);  // box vertical
    EXPECT_EQ(ToAnsi(0xB0), 0xA6);  // light shade
  }
}

TEST(CodePages, TerminatedFormsConvertInPlace) {
  char text[] =
      "Gr\xFC\xDF"
      "e";
  ASSERT_TRUE(CharToOemA(text, text));
  EXPECT_STREQ(text,
               "Gr\x81\xE1"
               "e");
  ASSERT_TRUE(OemToCharA(text, text));
  EXPECT_STREQ(text,
               "Gr\xFC\xDF"
               "e");
}

}  // namespace
}  // namespace conformance
