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

const unsigned char kEscape = 0x1B;
const unsigned char kTab = 9;

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// Applies the parameters of an SGR sequence (the bytes between "ESC [" and
// "m") to attribute: 0 or none clears bold and underline, 1 and 4 set
// them, 22 and 24 clear them; colours and the rest change nothing, and the
// arguments of an extended colour (38;5;n, 38;2;r;g;b) are no attributes.
void ApplySgr(const unsigned char* parameters, int length, LineAttr& attribute) {
  bool colourMode = false;  // the next value says how many arguments follow
  int skip = 0;             // colour arguments still to pass over
  int at = 0;
  do {
    int value = 0;
    bool sub = false;  // after a ':' come the parameter's own arguments
    for (; at < length && parameters[at] != ';'; ++at) {
      sub |= parameters[at] == ':';
      if (!sub && parameters[at] <= '9' && value < 10000)
        value = value * 10 + (parameters[at] - '0');
    }
    ++at;  // past the ';'
    if (colourMode) {
      colourMode = false;
      skip = value == 5 ? 1 : value == 2 ? 3 : 0;
    } else if (skip > 0) {
      --skip;
    } else {
      switch (value) {
        case 0:
          attribute = kPlain;
          break;
        case 1:
          attribute |= kBold;
          break;
        case 4:
          attribute |= kUnderline;
          break;
        case 22:
          attribute &= static_cast<LineAttr>(~kBold);
          break;
        case 24:
          attribute &= static_cast<LineAttr>(~kUnderline);
          break;
        case 38:
        case 48:
        case 58:
          colourMode = true;
          break;
        default:
          break;
      }
    }
  } while (at <= length);
}

// Length of the CSI sequence at in[0] (ESC, '['), 0 when the bytes there
// are none: parameter bytes, intermediate bytes, then a final byte within
// the line. An SGR sequence (no intermediates, final 'm', no private
// parameters) is applied to attribute; any other is only passed over.
int TakeCsi(const unsigned char* in, int count, LineAttr& attribute) {
  if (count < 3 || in[1] != '[') return 0;
  int at = 2;
  while (at < count && in[at] >= 0x30 && in[at] <= 0x3F) ++at;
  int parametersEnd = at;
  while (at < count && in[at] >= 0x20 && in[at] <= 0x2F) ++at;
  if (at == count || in[at] < 0x40 || in[at] > 0x7E) return 0;
  bool plainParameters = true;
  for (int k = 2; k < parametersEnd; ++k) plainParameters &= in[k] <= ';';
  if (in[at] == 'm' && at == parametersEnd && plainParameters) {
    ApplySgr(in + 2, parametersEnd - 2, attribute);
  }
  return at + 1;
}

// Bytes of the plain run to copy when only room bytes are left: never a
// UTF-8 character cut in two.
int WithinRoom(const unsigned char* in, int length, int room, bool utf8) {
  if (length <= room) return length;
  int cut = room;
  while (utf8 && cut > 0 && (in[cut] & 0xC0) == 0x80) --cut;
  return cut;
}

}  // namespace

void DecodeOverstrike(const char* line, int count, DecodedLine& decoded, bool detectUtf8,
                      CellRules* rules) {
  CellRules defaults;
  CellRules& cells = rules ? *rules : defaults;
  const int tabStop = cells.tabStop > 0 ? cells.tabStop : 1;
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
  // Each step but a tab consumes at least as many bytes as it appends, so
  // a line of up to kDecodedLineSize - 1 bytes without tabs is never cut.
  while (i < count && j < limit) {
    // Most of a report has no control character: the bytes up to the next
    // one are copied in one piece, in the attribute escapes set. Raw mode
    // stops only at a backspace or a NUL.
    bool high = false;
    const size_t rest = static_cast<size_t>(count - i);
    int plain = static_cast<int>(cells.passThrough
                                     ? FindFirstOf(in + i, rest, kBackspace, 0, kBackspace, high)
                                     : FindFirstControl(in + i, rest, high));
    if (high && !decided) {
      utf8 = ReadsAsUtf8(line, count);
      decided = true;
    }
    int taken = WithinRoom(in + i, plain, limit - j, utf8);
    memcpy(text + j, in + i, static_cast<size_t>(taken));
    memset(attributes + j, cells.escapeAttribute, static_cast<size_t>(taken));
    i += taken;
    j += taken;
    // The printed text ends at its first NUL (a line feed leaves one).
    if (taken < plain || i == count || j == limit || in[i] == 0) break;
    if (!decided) {
      // Columns, what a backspace strikes over and the dot it may leave
      // depend on it.
      utf8 = ReadsAsUtf8(line, count);
      decided = true;
    }
    if (in[i] != kBackspace) {
      int csi = in[i] == kEscape ? TakeCsi(in + i, count - i, cells.escapeAttribute) : 0;
      int blanks = 1;
      if (in[i] == kTab) blanks = tabStop - TextColumns(text, j, utf8) % tabStop;
      if (csi == 0) {
        blanks = std::min(blanks, limit - j);
        memset(text + j, ' ', static_cast<size_t>(blanks));
        memset(attributes + j, cells.escapeAttribute, static_cast<size_t>(blanks));
        j += blanks;
      }
      i += csi > 0 ? csi : 1;
      continue;
    }
    if (i + 1 == count) break;  // a backspace at the end strikes nothing
    const char* d = line + i + 1;
    int length = utf8 ? CharacterLength(d, count - i - 1, true) : 1;
    if (IsControl(static_cast<unsigned char>(*d))) {
      // A run of backspaces strikes once; a line end, a NUL or another
      // control character is struck by none.
      i += 1;
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
      memset(attributes + j, cells.escapeAttribute, static_cast<size_t>(size));
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
