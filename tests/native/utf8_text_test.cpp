#include "render/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ReadsAsUtf8, TakesOnlyWellFormedLinesWithAMultibyteCharacter) {
  struct Case {
    const char* name;
    std::string line;
    bool utf8;
  };
  const Case cases[] = {
      {"ASCII alone", "plain text\b_", false},
      {"two-byte", "M\xC3\xBCller", true},
      {"three-byte euro", "\xE2\x82\xAC 5", true},
      {"four-byte", "\xF0\x9F\x98\x80", true},
      {"1252 accent", "caf\xE9", false},
      {"1252 mojibake pair", "manipulaci\xC3\xB3n", true},
      {"437 box corner", "\xDA\xC4\xC4\xBF", false},
      {"437 one stroke and a corner", "Total \xC4\xBF", true},
      {"overlong", "\xC0\x80", false},
      {"overlong three-byte", "\xE0\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"cut at the end", "ab\xE2\x82", false},
      {"lone continuation", "\x80", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(plenwick::ReadsAsUtf8(c.line.data(), static_cast<int>(c.line.size())), c.utf8)
        << c.name;
  }
}

TEST(Utf8Text, CountsColumnsOfCharacters) {
  struct Case {
    std::string text;
    int columns;
  };
  const Case cases[] = {
      {"abc", 3},
      {"M\xC3\xBCller", 6},
      {"\xE6\x97\xA5\xE6\x9C\xAC", 4},  // CJK: two each
      {"\xEA\xB0\x80", 2},              // Hangul syllable
      {"\xEF\xBC\xA1", 2},              // fullwidth A
      {"e\xCC\x81", 1},                 // combining acute
      {"\xD0\x9F\xCE\xB1", 2},          // Cyrillic, Greek
      {"\xF0\x9F\x98\x80", 2},          // emoji
      {"\xE2\x94\x80", 1},              // box drawing
      {"\xFF", 1},                      // not UTF-8: one replacement
  };
  for (const Case& c : cases) {
    EXPECT_EQ(plenwick::TextColumns(c.text.data(), static_cast<int>(c.text.size()), true),
              c.columns)
        << c.text;
  }
  // A character with its combining marks is one character; in 8-bit text
  // every byte is one.
  const std::string marks = "e\xCC\x81\xCC\xA7x";
  EXPECT_EQ(plenwick::CharacterLength(marks.data(), static_cast<int>(marks.size()), true), 5);
  EXPECT_EQ(plenwick::CharacterLength(marks.data(), static_cast<int>(marks.size()), false), 1);
}

}  // namespace
