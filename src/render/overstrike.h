// Overstrike decoding: the backspace overstrikes of a report line become
// bold and underlined characters, which are cut into runs of one style.
#pragma once

namespace plenwick {

// Style of one decoded character: bit 0 underline, bit 1 bold.
typedef unsigned char LineAttr;
const LineAttr kPlain = 0;
const LineAttr kUnderline = 1;
const LineAttr kBold = 2;

const int kDecodedLineSize = 512;
// Bytes of one character struck over another: a UTF-8 character with a
// few combining marks.
const int kOverprintSize = 16;
// Each overprint takes at least two bytes of the line.
const int kMaxOverprints = kDecodedLineSize / 2;

// A character struck over the cell that starts at text[position]: drawn
// in the same cell, after the line's runs, so both glyphs show.
struct Overprint {
  int position;
  int length;
  LineAttr attribute;
  char text[kOverprintSize];
};

// One report line with its overstrikes resolved: a line of cells, one
// character each (a byte, or in a UTF-8 line a character with its
// combining marks), and the characters struck over them.
struct DecodedLine {
  char text[kDecodedLineSize];            // terminated
  LineAttr attributes[kDecodedLineSize];  // one per byte, set up to text[length]
  int length;                             // bytes before the first terminator: what is printed
  bool utf8;                              // text is UTF-8: columns count characters, not bytes
  int overprintCount;
  Overprint overprints[kMaxOverprints];  // in the order of their cells
};

// How a line's other control characters become cells. A tab moves to the
// next stop, every tabStop columns (1: one blank cell); any other control
// character is one blank cell; a CSI escape sequence takes none, its SGR
// bold and underline setting escapeAttribute as overstrikes would, which
// stays in force into the next line as on a terminal. passThrough (raw
// mode) keeps every byte for the printer.
struct CellRules {
  int tabStop = 8;
  bool passThrough = false;
  LineAttr escapeAttribute = kPlain;  // in force at the line's start; at its end after decoding
};

// Decodes count bytes of line, as a line printer prints them: X backspace
// underscore and underscore backspace X underline X, X backspace X makes it
// bold, backspace m or w after anything but an underscore gives a middle
// dot, and any other character after a backspace is struck over the cell
// before it. A backspace with nothing before it, or at the end, is
// dropped. With detectUtf8, a line that reads as UTF-8 (ReadsAsUtf8) is
// decoded as UTF-8 (decoded.utf8): a backspace strikes over whole
// characters. A backspace before a control character strikes nothing.
// Other control characters follow rules (the defaults without it). The
// printed text ends at its first NUL. Bytes beyond what the decoded
// buffers hold are cut, never inside a UTF-8 character (a line from a
// 512-byte GetLine buffer always fits, but for its tabs).
void DecodeOverstrike(const char* line, int count, DecodedLine& decoded, bool detectUtf8 = false,
                      CellRules* rules = nullptr);

// Length of the run of equal attributes that starts at column start of the
// decoded text; 0 only for an empty text.
int RunLength(const DecodedLine& decoded, int start);

}  // namespace plenwick
