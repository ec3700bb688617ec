#include "render/overstrike.h"

#include <algorithm>
#include <cstring>

#include "render/byte_scan.h"
#include "render/utf8_text.h"

namespace plenwick {
namespace {

const unsigned char kBackspace = 8;
const char kMiddleDot[] = "\xB7";          // in the ANSI code page
const char kUtf8MiddleDot[] = "\xC2\xB7";  // U+00B7

// Where the cell before text[end] starts.
int CellStart(const char* text, int end, bool utf8) {
  if (!utf8) return end - 1;
  int start = end;
  while (start > 0) {
    --start;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
    int used = 0;
    if (CodePointColumns(DecodeUtf8(text + start, end - start, used)) != 0) break;
  }
  return start;
}

// What is on top of a cell: the last character struck over it, or its own.
struct Top {
  const char* text;
  int length;
  LineAttr* attribute;  // of the top character
};

Top TopOf(DecodedLine& decoded, int cell, int end) {
  if (decoded.overprintCount > 0) {
    Overprint& last = decoded.overprints[decoded.overprintCount - 1];
    if (last.position == cell) return Top{last.text, last.length, &last.attribute};
  }
  return Top{decoded.text + cell, end - cell, decoded.attributes + cell};
}

// Most overstrikes are 8-bit bold: one byte against one.
bool SameCharacter(const char* d, int length, const Top& top) {
  if (length != top.length) return false;
  return length == 1 ? *d == *top.text : memcmp(d, top.text, static_cast<size_t>(length)) == 0;
}

void MarkCell(DecodedLine& decoded, int cell, int end, LineAttr attribute) {
  for (int k = cell; k < end; ++k) decoded.attributes[k] |= attribute;
}

// Strikes the character over the cell; false when there is no room left
// for it.
bool AddOverprint(DecodedLine& decoded, int cell, const char* text, int length) {
  if (decoded.overprintCount == kMaxOverprints || length > kOverprintSize) return false;
  Overprint& over = decoded.overprints[decoded.overprintCount++];
  over.position = cell;
  over.length = length;
  over.attribute = kPlain;
  memcpy(over.text, text, static_cast<size_t>(length));
  return true;
}

}  // namespace

void DecodeOverstrike(const char* line, int count, DecodedLine& decoded, bool detectUtf8) {
  const unsigned char* in = reinterpret_cast<const unsigned char*>(line);
  char* text = decoded.text;
  LineAttr* attributes = decoded.attributes;
  const int limit = kDecodedLineSize - 1;
  int i = 0;
  int j = 0;
  // Most lines are ASCII and have no backspace: whether such a line is
  // UTF-8 does not matter, and is not asked.
  bool utf8 = false;
  bool decided = !detectUtf8;
  decoded.overprintCount = 0;
  // Each step consumes at least as many bytes as it appends, so a line of
  // up to kDecodedLineSize - 1 bytes is never cut.
  while (i < count && j < limit) {
    // Most of a report has no backspace: the bytes up to the next one, or
    // up to a NUL, are copied in one piece, with plain attributes.
    bool high = false;
    int plain = static_cast<int>(
        FindFirstOf(in + i, static_cast<size_t>(count - i), kBackspace, 0, kBackspace, high));
    if (high && !decided) {
      utf8 = ReadsAsUtf8(line, count);
      decided = true;
    }
    plain = std::min(plain, limit - j);
    memcpy(text + j, in + i, static_cast<size_t>(plain));
    memset(attributes + j, 0, static_cast<size_t>(plain));
    i += plain;
    j += plain;
    // The printed text ends at its first NUL (a line feed leaves one).
    if (i == count || j == limit || in[i] == 0) break;
    if (i + 1 == count) break;  // a backspace at the end strikes nothing
    if (!decided) {
      // What a backspace strikes over, and the dot it may leave, depend on it.
      utf8 = ReadsAsUtf8(line, count);
      decided = true;
    }
    const char* d = line + i + 1;
    int length = utf8 ? CharacterLength(d, count - i - 1, true) : 1;
    if (*d == '\b' || *d == '\0') {
      i += 1;  // a run of backspaces strikes once; a NUL ends the text
      continue;
    }
    int cell = j > 0 ? CellStart(text, j, utf8) : 0;
    Top top = j > 0 ? TopOf(decoded, cell, j) : Top{nullptr, 0, nullptr};
    if (*d == '_') {
      if (j > 0) MarkCell(decoded, cell, j, kUnderline);
    } else if (j > 0 && SameCharacter(d, length, top)) {
      *top.attribute |= kBold;
      if (top.attribute == attributes + cell) MarkCell(decoded, cell, j, kBold);
    } else if (j > 0 && top.length == 1 && top.text[0] == '_' && cell + length <= limit) {
      // Underscore first is how nroff underlines: the cell is the character.
      LineAttr attribute = static_cast<LineAttr>(attributes[cell] | kUnderline);
      memcpy(text + cell, d, static_cast<size_t>(length));
      j = cell + length;
      memset(attributes + cell, attribute, static_cast<size_t>(length));
    } else if (*d == 'm' || *d == 'w') {
      // The application's own mark: a middle dot in a cell of its own.
      const char* dot = utf8 ? kUtf8MiddleDot : kMiddleDot;
      int size = static_cast<int>(strlen(dot));
      if (j + size > limit) break;
      memcpy(text + j, dot, static_cast<size_t>(size));
      memset(attributes + j, 0, static_cast<size_t>(size));
      j += size;
      length = 1;
    } else if (j == 0 || !AddOverprint(decoded, cell, d, length)) {
      i += 1;  // nothing to strike over: only the backspace goes
      continue;
    }
    i += 1 + length;
  }
  text[j] = '\0';
  attributes[j] = kPlain;
  decoded.length = j;
  decoded.utf8 = utf8;
}

int RunLength(const DecodedLine& decoded, int start) {
  int end = start;
  while (end < decoded.length && decoded.attributes[end] == decoded.attributes[start]) ++end;
  return end - start;
}

}  // namespace plenwick
