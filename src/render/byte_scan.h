// Finding the first of a few byte values in a run of report bytes: the
// line reader looks for line ends, the overstrike decoder for backspaces
// and the end of the text. Sixteen bytes are looked at a time where the
// processor has SSE2 (every x86-64), eight at a time elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plenwick {

// The index of the first of the size bytes that is a, b or c; size when
// there is none. With kNoteHigh, *high is set when a byte before that one
// is above 127 (and left as it was otherwise).
template <bool kNoteHigh>
inline size_t FindFirstOfNoting(const unsigned char* bytes, size_t size, unsigned char a,
                                unsigned char b, unsigned char c, bool* high) {
  size_t i = 0;
#if defined(__SSE2__)
  // The wanted bytes are control characters, which report text hardly
  // has: a block of sixteen with no byte at or below the highest wanted one
  // is passed over with one comparison; only a block with such a byte is
  // compared with each wanted byte.
  unsigned highest = a > b ? (a > c ? a : c) : (b > c ? b : c);
  const __m128i bound = _mm_set1_epi8(static_cast<char>(highest < 255 ? highest + 1 : 255));
  const __m128i wantA = _mm_set1_epi8(static_cast<char>(a));
  const __m128i wantB = _mm_set1_epi8(static_cast<char>(b));
  const __m128i wantC = _mm_set1_epi8(static_cast<char>(c));
  __m128i passed = _mm_setzero_si128();  // the blocks passed over, ORed
  for (; i + 16 <= size; i += 16) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    // Bytes above the highest wanted one are their own maximum with the bound.
    if (highest < 255 &&
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(block, bound), block)) == 0xFFFF) {
      if (kNoteHigh) passed = _mm_or_si128(passed, block);
      continue;
    }
    __m128i hits =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, wantA), _mm_cmpeq_epi8(block, wantB)),
                     _mm_cmpeq_epi8(block, wantC));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    if (mask != 0) {
      unsigned at = static_cast<unsigned>(__builtin_ctz(mask));
      if (kNoteHigh) {
        unsigned before = static_cast<unsigned>(_mm_movemask_epi8(block)) & ((1u << at) - 1);
        if (before != 0 || _mm_movemask_epi8(passed) != 0) *high = true;
      }
      return i + at;
    }
    if (kNoteHigh) passed = _mm_or_si128(passed, block);
  }
  if (kNoteHigh && _mm_movemask_epi8(passed) != 0) *high = true;
#else
  // A word has one of the bytes when XOR with that byte leaves a zero byte.
  const uint64_t kOnes = 0x0101010101010101ULL;
  const uint64_t kHighBits = 0x8080808080808080ULL;
  auto hasZero = [&](uint64_t word) { return ((word - kOnes) & ~word & kHighBits) != 0; };
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    memcpy(&word, bytes + i, sizeof word);
    if (hasZero(word ^ (kOnes * a)) || hasZero(word ^ (kOnes * b)) || hasZero(word ^ (kOnes * c))) {
      break;
    }
    if (kNoteHigh && (word & kHighBits) != 0) *high = true;
  }
#endif
  unsigned char seen = 0;  // the bytes passed, ORed
  for (; i < size; ++i) {
    unsigned char byte = bytes[i];
    if (byte == a || byte == b || byte == c) break;
    if (kNoteHigh) seen |= byte;
  }
  if (kNoteHigh && seen >= 0x80) *high = true;
  return i;
}

inline size_t FindFirstOf(const unsigned char* bytes, size_t size, unsigned char a, unsigned char b,
                          unsigned char c) {
  return FindFirstOfNoting<false>(bytes, size, a, b, c, nullptr);
}

// The same, noting in high whether a byte before the one found is above
// 127: the overstrike decoder learns on its way whether a line may be
// UTF-8.
inline size_t FindFirstOf(const unsigned char* bytes, size_t size, unsigned char a, unsigned char b,
                          unsigned char c, bool& high) {
  return FindFirstOfNoting<true>(bytes, size, a, b, c, &high);
}

// The index of the first line end (line feed, form feed or carriage
// return) of the size bytes; size when there is none. plain is cleared
// when a byte before it is one the overstrike decoder would have to look
// at: another control character (a backspace, a tab, an escape, a NUL,
// DEL) or a byte above 127. Where
// the processor has no SSE2 it is always cleared, and the decoder looks at
// every line.
inline size_t FindLineEnd(const unsigned char* bytes, size_t size, bool& plain) {
  const unsigned char kLineFeed = 10, kFormFeed = 12, kCarriageReturn = 13;
#if defined(__SSE2__)
  const unsigned char kSpace = 0x20, kDelete = 0x7F;
  size_t i = 0;
  // As FindFirstOf: a block with no control character is passed over with
  // one comparison, its high bits kept to be looked at once.
  const __m128i bound = _mm_set1_epi8(kSpace);
  const __m128i del = _mm_set1_epi8(kDelete);
  const __m128i lineFeed = _mm_set1_epi8(static_cast<char>(kLineFeed));
  const __m128i formFeed = _mm_set1_epi8(static_cast<char>(kFormFeed));
  const __m128i carriageReturn = _mm_set1_epi8(static_cast<char>(kCarriageReturn));
  __m128i passed = _mm_setzero_si128();
  for (; i + 16 <= size; i += 16) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    unsigned low = (~static_cast<unsigned>(
                        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(block, bound), block))) |
                    static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, del)))) &
                   0xFFFF;
    if (low != 0) {
      __m128i ends = _mm_or_si128(
          _mm_or_si128(_mm_cmpeq_epi8(block, lineFeed), _mm_cmpeq_epi8(block, formFeed)),
          _mm_cmpeq_epi8(block, carriageReturn));
      unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
      if (mask != 0) {
        unsigned at = static_cast<unsigned>(__builtin_ctz(mask));
        unsigned before = (1u << at) - 1;
        if ((low & before) != 0 ||
            (static_cast<unsigned>(_mm_movemask_epi8(block)) & before) != 0 ||
            _mm_movemask_epi8(passed) != 0) {
          plain = false;
        }
        return i + at;
      }
      plain = false;
    }
    passed = _mm_or_si128(passed, block);
  }
  if (_mm_movemask_epi8(passed) != 0) plain = false;
  for (; i < size; ++i) {
    unsigned char byte = bytes[i];
    if (byte == kLineFeed || byte == kFormFeed || byte == kCarriageReturn) return i;
    if (byte < kSpace || byte >= kDelete) plain = false;
  }
  return size;
#else
  plain = false;
  return FindFirstOf(bytes, size, kLineFeed, kFormFeed, kCarriageReturn);
#endif
}

// The index of the first control character (below the space, or DEL) of
// the size bytes; size when there is none. high is set when a byte before
// it is above 127, as FindFirstOf sets it.
inline size_t FindFirstControl(const unsigned char* bytes, size_t size, bool& high) {
  const unsigned char kSpace = 0x20, kDelete = 0x7F;
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i bound = _mm_set1_epi8(kSpace);
  const __m128i del = _mm_set1_epi8(kDelete);
  __m128i passed = _mm_setzero_si128();
  for (; i + 16 <= size; i += 16) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    unsigned low = (~static_cast<unsigned>(
                        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(block, bound), block))) |
                    static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, del)))) &
                   0xFFFF;
    if (low != 0) {
      unsigned at = static_cast<unsigned>(__builtin_ctz(low));
      unsigned before = static_cast<unsigned>(_mm_movemask_epi8(block)) & ((1u << at) - 1);
      if (before != 0 || _mm_movemask_epi8(passed) != 0) high = true;
      return i + at;
    }
    passed = _mm_or_si128(passed, block);
  }
  if (_mm_movemask_epi8(passed) != 0) high = true;
#endif
  unsigned char seen = 0;
  for (; i < size; ++i) {
    unsigned char byte = bytes[i];
    if (byte < kSpace || byte == kDelete) break;
    seen |= byte;
  }
  if (seen >= 0x80) high = true;
  return i;
}

// The index of the first of the size bytes above 127; size when there is
// none. Most report lines are ASCII, and this is all a line costs to be
// found not UTF-8.
inline size_t FindFirstHigh(const unsigned char* bytes, size_t size) {
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= size; i += 16) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(block));
    if (mask != 0) return i + static_cast<size_t>(__builtin_ctz(mask));
  }
#else
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    memcpy(&word, bytes + i, sizeof word);
    if ((word & 0x8080808080808080ULL) != 0) break;
  }
#endif
  for (; i < size; ++i) {
    if (bytes[i] >= 0x80) return i;
  }
  return size;
}

}  // namespace plenwick
