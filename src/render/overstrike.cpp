#include "render/overstrike.h"

#include <algorithm>
#include <cstring>

#include "render/byte_scan.h"

namespace plenwick {
namespace {

const unsigned char kBackspace = 8;
const unsigned char kMiddleDot = 0xB7;  // in the ANSI code page

}  // namespace

void DecodeOverstrike(const char* line, int count, DecodedLine& decoded) {
  const unsigned char* in = reinterpret_cast<const unsigned char*>(line);
  unsigned char* text = reinterpret_cast<unsigned char*>(decoded.text);
  LineAttr* attributes = decoded.attributes;
  const int limit = kDecodedLineSize - 1;
  int i = 0;
  int j = 0;
  // Each step consumes at least as many bytes as it appends, so a line of
  // up to kDecodedLineSize - 1 bytes is never cut.
  while (i < count && j < limit) {
    // Most of a report has no backspace: the bytes up to the next one, or
    // up to a NUL, are copied in one piece, with plain attributes.
    int plain = static_cast<int>(
        FindFirstOf(in + i, static_cast<size_t>(count - i), kBackspace, 0, kBackspace));
    plain = std::min(plain, limit - j);
    memcpy(text + j, in + i, static_cast<size_t>(plain));
    memset(attributes + j, 0, static_cast<size_t>(plain));
    i += plain;
    j += plain;
    // The printed text ends at its first NUL (a line feed leaves one).
    if (i == count || j == limit || in[i] == 0) break;
    if (i + 1 == count) break;  // a backspace at the end strikes nothing
    unsigned char d = in[i + 1];
    if (d == '_') {
      if (j > 0) attributes[j - 1] |= kUnderline;
      i += 2;
    } else if (j > 0 && d == text[j - 1]) {
      attributes[j - 1] |= kBold;
      i += 2;
    } else if (d == 'm' || d == 'w') {
      attributes[j] = kPlain;
      text[j++] = kMiddleDot;
      i += 2;
    } else {
      i += 1;  // only the backspace goes; d is read as the next byte
    }
  }
  text[j] = '\0';
  attributes[j] = kPlain;
  decoded.length = j;
}

int RunLength(const DecodedLine& decoded, int start) {
  int end = start;
  while (end < decoded.length && decoded.attributes[end] == decoded.attributes[start]) ++end;
  return end - start;
}

}  // namespace plenwick
