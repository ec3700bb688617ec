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

TEST(SimMulDiv, RoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(10, 300, 72), 42);  // 41.67
  EXPECT_EQ(MulDiv(-1, 3, 2), -2);
  EXPECT_EQ(MulDiv(5, 1, 4), 1);
  EXPECT_EQ(MulDiv(5, 1, 0), -1);
}

}  // namespace
