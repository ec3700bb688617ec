// The simulated Windows' text services behave as the real ones do where the
// library depends on it: code page conversion and MulDiv rounding.
#include "test_support.h"

namespace {

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

TEST(SimCodePage, ConvertsBetween1252And437) {
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
      {0x07, 0x07},
  };
  for (const Pair& pair : pairs) {
    EXPECT_EQ(ToOem(pair.ansi), pair.oem) << std::hex << int(pair.ansi);
    EXPECT_EQ(ToAnsi(pair.oem), pair.ansi) << std::hex << int(pair.oem);
  }
}

TEST(SimCodePage, CharactersWithoutEquivalentGetABestFit) {
  EXPECT_EQ(ToOem(0xC0), 'A');   // A grave
  EXPECT_EQ(ToOem(0xA7), 0x15);  // section sign, an OEM glyph
  EXPECT_EQ(ToOem(0x80), '?');   // euro
  EXPECT_EQ(ToAnsi(0xC4), '-');  // box horizontal
  EXPECT_EQ(ToAnsi(0xB3), '|');  // box vertical
  EXPECT_EQ(ToAnsi(0xDA), '+');  // box corner
  EXPECT_EQ(ToAnsi(0xB0), '?');  // light shade
  // Every byte maps somewhere, and a round trip keeps the shared ones.
  for (int c = 0; c < 256; ++c) {
    unsigned char oem = ToOem(static_cast<unsigned char>(c));
    if (oem >= 0x80) {
      EXPECT_EQ(ToAnsi(oem), c) << std::hex << c;
    }
  }
}

TEST(SimCodePage, TerminatedFormsConvertInPlace) {
  char text[] = "Gr\xFC\xDF" "e";
  ASSERT_TRUE(CharToOemA(text, text));
  EXPECT_STREQ(text, "Gr\x81\xE1" "e");
  ASSERT_TRUE(OemToCharA(text, text));
  EXPECT_STREQ(text, "Gr\xFC\xDF" "e");
}

// UTF-8 as the Linux platform reads it from CUPS and file names: whole
// characters of every length, and each byte that starts no valid sequence
// as one U+FFFD, the next byte read afresh.
TEST(SimCodePage, Utf8ToUtf16) {
  const struct {
    std::string bytes;
    std::u16string units;
  } cases[] = {
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", u"caf\u00e9 \u20ac \U0001F600"},
      {"a\x80" "b", u"a\uFFFDb"},                      // a stray continuation byte
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                  // an overlong '/'
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},        // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"x\xE2\x82", u"x\uFFFD\uFFFD"},                 // cut short at the end
      {"\xE2(\xA9", u"\uFFFD(\uFFFD"},                 // cut short by another
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.bytes);
    WCHAR units[16];
    int length = winapi::MultiByteToWideCharIn(CP_UTF8, CP_ACP, test.bytes.data(),
                                               static_cast<int>(test.bytes.size()), units, 16);
    EXPECT_EQ(std::u16string(units, units + length), test.units);
  }
}

// The Win32 contract: a length to ask for, a terminator converted with it,
// a buffer too small refused, an unknown code page refused.
TEST(SimCodePage, WideConversionContract) {
  const WCHAR text[] = {'c', 0xE9, 0x20AC, 0x4E2D, 0};
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr), 5);
  char ansi[5];
  BOOL replaced = FALSE;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, 5, nullptr, &replaced), 5);
  EXPECT_STREQ(ansi, "c\xE9\x80?");
  EXPECT_TRUE(replaced);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr), 10);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, -1, ansi, 5, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(MultiByteToWideChar(437, 0, "x", 1, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SimMulDiv, RoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(10, 300, 72), 42);  // 41.67
  EXPECT_EQ(MulDiv(-1, 3, 2), -2);
  EXPECT_EQ(MulDiv(5, 1, 4), 1);
  EXPECT_EQ(MulDiv(5, 1, 0), -1);
}

}  // namespace
