#include <cstdint>

#include "codepage.h"

#include <string>

#include "kernel.h"

namespace {

// Unicode of the upper halves of the two code pages. The lower halves are
// ASCII in both, control characters included.
// clang-format off
const uint16_t kOemHigh[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 0x80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 0x90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // 0xA0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // 0xB0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // 0xC0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // 0xD0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // 0xE0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // 0xF0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};
// clang-format on

// 0x80 to 0x9F of the ANSI code page; 0xA0 to 0xFF are Latin-1. The five
// unassigned bytes stand for the C1 controls of the same value.
// clang-format off
const uint16_t kAnsiC1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

// Best-fit replacements for characters the other code page lacks (each
// character here is in only one of the two): look-alikes where there is
// one, the glyphs the OEM set shows for some of its control codes, and '?'
// for the rest.
unsigned char BestFit(uint16_t u) {
  // clang-format off
  switch (u) {
    case 0x00C0: case 0x00C1: case 0x00C2: case 0x00C3: return 'A';
    case 0x00C8: case 0x00CA: case 0x00CB: return 'E';
    case 0x00CC: case 0x00CD: case 0x00CE: case 0x00CF: return 'I';
    case 0x00D2: case 0x00D3: case 0x00D4: case 0x00D5: case 0x00D8: case 0x0152: return 'O';
    case 0x00D9: case 0x00DA: case 0x00DB: return 'U';
    case 0x00DD: case 0x0178: return 'Y';
    case 0x00D0: return 'D';
    case 0x0160: return 'S';
    case 0x017D: return 'Z';
    case 0x00E3: return 'a';
    case 0x00F5: case 0x00F8: case 0x0153: return 'o';
    case 0x00FD: return 'y';
    case 0x0161: return 's';
    case 0x017E: return 'z';
    case 0x00A7: return 0x15;  // section sign, shown at 0x15 by the OEM set
    case 0x00B6: return 0x14;  // pilcrow
    case 0x2022: return 0x07;  // bullet
    case 0x201A: case 0x00B8: return ',';
    case 0x201E: case 0x201C: case 0x201D: case 0x00A8: return '"';
    case 0x2018: case 0x2019: case 0x00B4: return '\'';
    case 0x2026: return '.';
    case 0x02C6: return '^';
    case 0x2030: return '%';
    case 0x2039: return '<';
    case 0x203A: return '>';
    case 0x2013: case 0x2014: case 0x00AD: case 0x2500: return '-';
    case 0x02DC: case 0x2248: return '~';
    case 0x2122: return 'T';
    case 0x00A6: case 0x2502: case 0x2551: return '|';
    case 0x00A9: return 'c';
    case 0x00AE: return 'r';
    case 0x00B9: return '1';
    case 0x00B3: return '3';
    case 0x00D7: return 'x';
    case 0x20A7: return 'P';
    case 0x2310: return 0xAC;  // reversed not sign: the not sign
    case 0x2550: case 0x2261: case 0x2264: case 0x2265: return '=';
    case 0x03B1: return 'a';
    case 0x0393: return 'G';
    case 0x03C0: return 'p';
    case 0x03A3: return 'S';
    case 0x03C3: return 's';
    case 0x03C4: return 't';
    case 0x03A6: return 'F';
    case 0x0398: return 'T';
    case 0x03A9: return 'O';
    case 0x03B4: return 'd';
    case 0x03C6: return 'f';
    case 0x03B5: return 'e';
    case 0x221E: return '8';
    case 0x2219: return 0xB7;  // bullet operator: the middle dot
    case 0x221A: return 'v';
    case 0x207F: return 'n';
    default: break;
  }
  // clang-format on
  // Box drawing corners and junctions become '+'.
  if (u >= 0x2500 && u < 0x2580) return '+';
  return '?';
}

struct Tables {
  unsigned char toOem[256];
  unsigned char toAnsi[256];

  Tables() {
    for (int c = 0; c < 256; ++c) {
      toOem[c] = static_cast<unsigned char>(c);
      toAnsi[c] = static_cast<unsigned char>(c);
    }
    for (int c = 0x80; c < 256; ++c) {
      uint16_t ansi = winapi::AnsiToUnicode(static_cast<unsigned char>(c));
      toOem[c] = BestFit(ansi);
      for (int o = 0; o < 128; ++o) {
        if (kOemHigh[o] == ansi) toOem[c] = static_cast<unsigned char>(0x80 + o);
      }
      uint16_t oem = kOemHigh[c - 0x80];
      toAnsi[c] = BestFit(oem);
      for (int a = 0x80; a < 256; ++a) {
        if (winapi::AnsiToUnicode(static_cast<unsigned char>(a)) == oem)
          toAnsi[c] = static_cast<unsigned char>(a);
      }
    }
  }
};

const Tables& ConversionTables() {
  static const Tables tables;
  return tables;
}

BOOL Translate(const unsigned char* table, LPCSTR source, LPSTR destination, DWORD length) {
  if (!source || !destination) return FALSE;
  for (DWORD i = 0; i < length; ++i) {
    destination[i] = static_cast<char>(table[static_cast<unsigned char>(source[i])]);
  }
  return TRUE;
}

DWORD TerminatedLength(LPCSTR text) {
  DWORD length = 0;
  while (text[length] != '\0') ++length;
  return length + 1;
}

// One character of UTF-16 at source[*at], surrogate pairs joined; an
// unpaired surrogate is returned as it is, for the caller to refuse.
uint32_t NextUtf16(LPCWSTR source, size_t length, size_t* at) {
  uint32_t unit = source[(*at)++];
  if (unit >= 0xD800 && unit < 0xDC00 && *at < length && source[*at] >= 0xDC00 &&
      source[*at] < 0xE000) {
    unit = 0x10000 + ((unit - 0xD800) << 10) + (source[(*at)++] - 0xDC00);
  }
  return unit;
}

bool IsSurrogate(uint32_t c) { return c >= 0xD800 && c < 0xE000; }

void AppendUtf16(std::u16string& units, uint32_t c) {
  if (c < 0x10000) {
    units += static_cast<char16_t>(c);
  } else {
    units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
}

// The code page CP_ACP and CP_UTF8 stand for, or 0 when it is neither 1252
// nor UTF-8.
UINT Resolved(UINT ansiCodePage, UINT codePage) {
  if (codePage == CP_ACP) codePage = ansiCodePage;
  return codePage == 1252 || codePage == CP_UTF8 ? codePage : 0;
}

// Hands a converted text over as the Win32 conversions do: its length when
// no destination is given, otherwise the text when it fits.
template <typename Text, typename Unit>
int HandOver(const Text& converted, Unit* destination, int destinationLength) {
  if (converted.size() > static_cast<size_t>(INT32_MAX)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  int needed = static_cast<int>(converted.size());
  if (destinationLength == 0) return needed;
  if (needed > destinationLength) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  for (int i = 0; i < needed; ++i) destination[i] = static_cast<Unit>(converted[i]);
  return needed;
}

template <typename Unit>
bool ValidArguments(const Unit* source, int sourceLength, const void* destination,
                    int destinationLength) {
  return source && sourceLength >= -1 && sourceLength != 0 && destinationLength >= 0 &&
         (destinationLength == 0 || destination);
}

template <typename Unit>
size_t LengthOf(const Unit* source, int sourceLength) {
  if (sourceLength >= 0) return static_cast<size_t>(sourceLength);
  size_t length = 0;
  while (source[length] != 0) ++length;
  return length + 1;  // the terminator is converted too
}

}  // namespace

namespace winapi {

void AppendUtf8(std::string& bytes, uint32_t c) {
  if (c < 0x80) {
    bytes += static_cast<char>(c);
  } else if (c < 0x800) {
    bytes += static_cast<char>(0xC0 | (c >> 6));
    bytes += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    bytes += static_cast<char>(0xE0 | (c >> 12));
    bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    bytes += static_cast<char>(0xF0 | (c >> 18));
    bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (c & 0x3F));
  }
}

int MultiByteToWideCharIn(UINT ansiCodePage, UINT codePage, LPCSTR source, int sourceLength,
                          LPWSTR destination, int destinationLength) {
  UINT resolved = Resolved(ansiCodePage, codePage);
  if (!resolved || !ValidArguments(source, sourceLength, destination, destinationLength)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = LengthOf(source, sourceLength);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(source);
  std::u16string units;
  if (resolved == CP_UTF8) {
    Utf8Decoder decoder;
    auto append = [&units](uint32_t c) { AppendUtf16(units, c); };
    for (size_t at = 0; at < length; ++at) decoder.Put(bytes[at], append);
    decoder.Finish(append);
  } else {
    for (size_t at = 0; at < length; ++at) units += static_cast<char16_t>(AnsiToUnicode(bytes[at]));
  }
  return HandOver(units, destination, destinationLength);
}

int WideCharToMultiByteIn(UINT ansiCodePage, UINT codePage, LPCWSTR source, int sourceLength,
                          LPSTR destination, int destinationLength, LPBOOL usedDefaultChar) {
  UINT resolved = Resolved(ansiCodePage, codePage);
  if (!resolved || !ValidArguments(source, sourceLength, destination, destinationLength)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = LengthOf(source, sourceLength);
  std::string bytes;
  bool replaced = false;
  for (size_t at = 0; at < length;) {
    uint32_t c = NextUtf16(source, length, &at);
    unsigned char ansi = '?';
    if (IsSurrogate(c)) {
      replaced = true;
    } else if (resolved == CP_UTF8) {
      AppendUtf8(bytes, c);
      continue;
    } else {
      ansi = UnicodeToAnsi(c);
      replaced = replaced || (ansi == '?' && c != '?');
    }
    bytes += static_cast<char>(ansi);
  }
  if (usedDefaultChar) *usedDefaultChar = replaced ? TRUE : FALSE;
  return HandOver(bytes, destination, destinationLength);
}

uint16_t AnsiToUnicode(unsigned char c) {
  if (c < 0x80 || c >= 0xA0) return c;
  return kAnsiC1[c - 0x80];
}

unsigned char UnicodeToAnsi(uint32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kAnsiC1[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return '?';
}

}  // namespace winapi

BOOL CharToOemBuffA(LPCSTR source, LPSTR destination, DWORD length) {
  return Translate(ConversionTables().toOem, source, destination, length);
}

BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length) {
  return Translate(ConversionTables().toAnsi, source, destination, length);
}

BOOL CharToOemA(LPCSTR source, LPSTR destination) {
  if (!source || !destination) return FALSE;
  return CharToOemBuffA(source, destination, TerminatedLength(source));
}

BOOL OemToCharA(LPCSTR source, LPSTR destination) {
  if (!source || !destination) return FALSE;
  return OemToCharBuffA(source, destination, TerminatedLength(source));
}
