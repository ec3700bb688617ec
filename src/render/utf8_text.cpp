#include "render/utf8_text.h"

#include <cstddef>

#include "render/byte_scan.h"

namespace plenwick {
namespace {

struct Range {
  uint32_t first, last;
};

// Combining marks (general category Mn and Me) of the scripts reports are
// written in: they draw over the character before them.
const Range kCombining[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5}, {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
    {0x06D6, 0x06DC}, {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x0E31, 0x0E31},
    {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF},
    {0x302A, 0x302D}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
};

// East Asian Width W and F: Hangul, CJK, kana, fullwidth forms, and the
// emoji that terminals draw two columns wide.
const Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x3029},
    {0x302E, 0x303E},   {0x3041, 0x3096},   {0x309B, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF01, 0xFF60},
    {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4}, {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A},
    {0x1F200, 0x1F202}, {0x1F210, 0x1F23B}, {0x1F240, 0x1F248}, {0x1F250, 0x1F251},
    {0x1F260, 0x1F265}, {0x1F300, 0x1F320}, {0x1F32D, 0x1F335}, {0x1F337, 0x1F37C},
    {0x1F37E, 0x1F393}, {0x1F3A0, 0x1F3CA}, {0x1F3CF, 0x1F3D3}, {0x1F3E0, 0x1F3F0},
    {0x1F3F4, 0x1F3F4}, {0x1F3F8, 0x1F43E}, {0x1F440, 0x1F440}, {0x1F442, 0x1F4FC},
    {0x1F4FF, 0x1F53D}, {0x1F54B, 0x1F54E}, {0x1F550, 0x1F567}, {0x1F57A, 0x1F57A},
    {0x1F595, 0x1F596}, {0x1F5A4, 0x1F5A4}, {0x1F5FB, 0x1F64F}, {0x1F680, 0x1F6C5},
    {0x1F6CC, 0x1F6CC}, {0x1F6D0, 0x1F6D2}, {0x1F6D5, 0x1F6D7}, {0x1F6EB, 0x1F6EC},
    {0x1F6F4, 0x1F6FC}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F93A}, {0x1F93C, 0x1F945},
    {0x1F947, 0x1F9FF}, {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <size_t N>
bool InRanges(const Range (&ranges)[N], uint32_t codePoint) {
  if (codePoint < ranges[0].first || codePoint > ranges[N - 1].last) return false;
  size_t low = 0, high = N;
  while (low < high) {
    size_t middle = (low + high) / 2;
    if (codePoint > ranges[middle].last) {
      low = middle + 1;
    } else if (codePoint < ranges[middle].first) {
      high = middle;
    } else {
      return true;
    }
  }
  return false;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the well-formed character at s[0] (lead byte at or above
// 0x80), 0 when it is not one: no overlong forms, no surrogates, nothing
// above U+10FFFF.
int WellFormedLength(const unsigned char* s, int length) {
  unsigned char lead = s[0];
  int need;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (length < need || s[1] < low || s[1] > high) return 0;
  for (int k = 2; k < need; ++k) {
    if (!IsContinuation(s[k])) return 0;
  }
  return need;
}

}  // namespace

bool ReadsAsUtf8(const char* line, int count) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(line);
  if (count <= 0) return false;
  int i = static_cast<int>(FindFirstHigh(s, static_cast<size_t>(count)));
  if (i == count) return false;
  while (i < count) {
    if (s[i] < 0x80) {
      ++i;
      continue;
    }
    int used = WellFormedLength(s + i, count - i);
    if (used == 0) return false;
    i += used;
  }
  return true;
}

uint32_t DecodeUtf8(const char* text, int length, int& used) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
  if (length <= 0) {
    used = 0;
    return 0;
  }
  if (s[0] < 0x80) {
    used = 1;
    return s[0];
  }
  used = WellFormedLength(s, length);
  if (used == 0) {
    used = 1;
    return 0xFFFD;
  }
  uint32_t codePoint = s[0] & (0x7F >> used);
  for (int k = 1; k < used; ++k) codePoint = (codePoint << 6) | (s[k] & 0x3F);
  return codePoint;
}

int CodePointColumns(uint32_t codePoint) {
  if (codePoint < 0x300) return 1;
  if (InRanges(kCombining, codePoint)) return 0;
  return InRanges(kWide, codePoint) ? 2 : 1;
}

int CharacterLength(const char* text, int length, bool utf8) {
  if (!utf8 || length <= 1) return length > 0 ? 1 : 0;
  int used = 0;
  DecodeUtf8(text, length, used);
  int total = used;
  while (total < length && static_cast<unsigned char>(text[total]) >= 0x80) {
    int next = 0;
    if (CodePointColumns(DecodeUtf8(text + total, length - total, next)) != 0) break;
    total += next;
  }
  return total;
}

int TextColumns(const char* text, int length, bool utf8) {
  if (!utf8) return length;
  int columns = 0;
  int i = 0;
  while (i < length) {
    int used = 0;
    columns += CodePointColumns(DecodeUtf8(text + i, length - i, used));
    i += used;
  }
  return columns;
}

}  // namespace plenwick
