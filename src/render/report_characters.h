// The characters of a report's bytes: a byte-order mark at its start is
// dropped, and a report that starts with a UTF-16 mark is read as UTF-16,
// turned into UTF-8 as it streams by, so that its lines go the way of
// UTF-8 lines from there on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plenwick {

enum class ReportEncoding : uint8_t {
  kUnknown,  // nothing read yet
  kBytes,    // the bytes are the characters: the code page, or UTF-8 line by line
  kUtf16LE,
  kUtf16BE,
};

// Bytes a byte-order mark needs to be told: look at this many first.
const size_t kLongestMark = 3;

// The encoding of a report that starts with the size bytes, and the length
// of its mark (0 without one). A UTF-8 mark gives kBytes and 3.
ReportEncoding EncodingOfMark(const unsigned char* bytes, size_t size, size_t& markLength);

// UTF-16 to UTF-8 a block at a time: an odd byte or the first half of a
// surrogate pair at a block's end waits for the next block. A half pair
// on its own becomes U+FFFD, as does an odd byte at the end.
class Utf16Decoder {
 public:
  explicit Utf16Decoder(bool bigEndian = false) : bigEndian_(bigEndian) {}

  // UTF-8 bytes the conversion of size bytes may write at most.
  static size_t MaxOutput(size_t size) { return (size / 2 + 1) * 3 + 3; }

  // Converts size bytes into out, which has room for MaxOutput(size);
  // returns the bytes written.
  size_t Convert(const unsigned char* in, size_t size, unsigned char* out);

  // What waits at the end of the report, into out (room for 3 bytes).
  size_t Finish(unsigned char* out);

 private:
  size_t Unit(uint32_t unit, unsigned char* out);

  bool bigEndian_;
  int oddByte_ = -1;       // the first byte of a unit, or -1
  uint32_t highHalf_ = 0;  // the first half of a surrogate pair, or 0
};

}  // namespace plenwick
