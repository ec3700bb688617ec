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

// One report line with its overstrikes resolved.
struct DecodedLine {
  char text[kDecodedLineSize];  // terminated
  LineAttr attributes[kDecodedLineSize];  // set up to text[length]; later ones are left as found
  int length;  // characters before the first terminator: what is printed
};

// Decodes count bytes of line: X backspace underscore underlines X, X
// backspace X makes it bold, backspace m or w after anything gives a middle
// dot, and other backspaces are dropped. The printed text ends at its first
// NUL. Bytes beyond what the decoded buffers hold are cut (a line from a
// 512-byte GetLine buffer always fits).
void DecodeOverstrike(const char* line, int count, DecodedLine& decoded);

// Length of the run of equal attributes that starts at column start of the
// decoded text; 0 only for an empty text.
int RunLength(const DecodedLine& decoded, int start);

}  // namespace plenwick
