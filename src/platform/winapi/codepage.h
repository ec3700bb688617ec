// Character-set conversion between the ANSI code page (1252) and the OEM
// code page (437), and between UTF-16 and a multi-byte code page.
#pragma once

#include <string>

#include "types.h"

#define CP_ACP 0
#define CP_UTF8 65001
#define WC_NO_BEST_FIT_CHARS 0x00000400

// Lengths are in units of the source; -1 is a zero-terminated source, whose
// terminator is converted too. A destination length of 0 asks for the
// length needed. 0 is a failure (ERROR_INSUFFICIENT_BUFFER: too small a
// destination; ERROR_INVALID_PARAMETER: an unknown code page or bad
// arguments). Each platform defines which code page CP_ACP is.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                        LPWSTR destination, int destinationLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                        LPSTR destination, int destinationLength, LPCSTR defaultChar,
                        LPBOOL usedDefaultChar);

BOOL CharToOemA(LPCSTR source, LPSTR destination);
BOOL CharToOemBuffA(LPCSTR source, LPSTR destination, DWORD length);
BOOL OemToCharA(LPCSTR source, LPSTR destination);
BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length);

namespace winapi {

// The Unicode character of a byte of the ANSI code page, and back; a
// character the code page lacks becomes '?'.
uint16_t AnsiToUnicode(unsigned char c);
unsigned char UnicodeToAnsi(uint32_t c);

// Appends the UTF-8 bytes of a Unicode character.
void AppendUtf8(std::string& bytes, uint32_t c);

// Reads UTF-8 a byte at a time, so a text may come in pieces of any size.
// A byte that starts no valid sequence (a stray continuation, an overlong
// form, a surrogate, a value past U+10FFFF, a sequence cut short) is one
// U+FFFD, and the bytes after it are read afresh.
class Utf8Decoder {
 public:
  // Takes the next byte and hands every character it completes to emit.
  template <typename Emit>
  void Put(unsigned char byte, Emit emit) {
    if (held_ == 0) return Start(byte, emit);
    if ((byte & 0xC0) != 0x80) {
      Break(emit);
      return Start(byte, emit);
    }
    bytes_[held_++] = byte;
    if (held_ < needed_) return;
    uint32_t c = bytes_[0] & (0x3F >> (needed_ - 1));
    for (int i = 1; i < needed_; ++i) c = c << 6 | (bytes_[i] & 0x3F);
    static constexpr uint32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[needed_] || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) return Break(emit);
    held_ = 0;
    emit(c);
  }
  // The end of the text: a sequence still open was cut short.
  template <typename Emit>
  void Finish(Emit emit) {
    if (held_ > 0) Break(emit);
  }

 private:
  template <typename Emit>
  void Start(unsigned char lead, Emit emit) {
    if (lead < 0x80) return emit(lead);
    needed_ = lead >= 0xC2 && lead < 0xE0   ? 2
              : lead >= 0xE0 && lead < 0xF0 ? 3
              : lead >= 0xF0 && lead < 0xF5 ? 4
                                            : 0;
    if (needed_ == 0) return emit(0xFFFD);
    bytes_[0] = lead;
    held_ = 1;
  }
  // The lead of a broken sequence is one U+FFFD; the continuation bytes
  // after it, read afresh, are strays, one U+FFFD each.
  template <typename Emit>
  void Break(Emit emit) {
    for (int i = 0; i < held_; ++i) emit(0xFFFD);
    held_ = 0;
  }

  unsigned char bytes_[4] = {};
  int held_ = 0;
  int needed_ = 0;
};

// The two conversions for a platform whose ANSI code page is ansiCodePage
// (1252 or CP_UTF8); CP_ACP stands for it. Characters the multi-byte code
// page lacks, and unpaired surrogates, become '?' (usedDefaultChar tells);
// bytes that are no UTF-8 become U+FFFD.
int MultiByteToWideCharIn(UINT ansiCodePage, UINT codePage, LPCSTR source, int sourceLength,
                          LPWSTR destination, int destinationLength);
int WideCharToMultiByteIn(UINT ansiCodePage, UINT codePage, LPCWSTR source, int sourceLength,
                          LPSTR destination, int destinationLength, LPBOOL usedDefaultChar);

}  // namespace winapi
