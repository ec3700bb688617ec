// UTF-8 report lines: which lines are read as UTF-8, where their
// characters begin and end, and how many columns each takes on the grid.
#pragma once

#include <cstdint>

namespace plenwick {

// A line is UTF-8 when its bytes are well-formed UTF-8 and at least one
// character takes more than one byte; a line of ASCII alone, or one with a
// byte that cannot be UTF-8, is read in the job's 8-bit code page.
bool ReadsAsUtf8(const char* line, int count);

// The code point that starts at text[0], of at most length bytes, and how
// many bytes it takes. A byte that starts no well-formed character is read
// as U+FFFD on its own.
uint32_t DecodeUtf8(const char* text, int length, int& used);

// Columns a code point takes: 0 for a combining mark, 2 for an East Asian
// wide or fullwidth character, otherwise 1.
int CodePointColumns(uint32_t codePoint);

// Bytes of the character that starts at text[0]: one byte in an 8-bit
// line; in a UTF-8 line the code point and the combining marks after it,
// which strike over the same cell.
int CharacterLength(const char* text, int length, bool utf8);

// Columns of length bytes of decoded text: one per byte in an 8-bit line.
int TextColumns(const char* text, int length, bool utf8);

}  // namespace plenwick
