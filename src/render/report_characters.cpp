#include "render/report_characters.h"

#include <cstring>

namespace plenwick {
namespace {

const uint32_t kReplacement = 0xFFFD;

size_t PutUtf8(uint32_t c, unsigned char* out) {
  if (c < 0x80) {
    out[0] = static_cast<unsigned char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
    out[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
    out[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
  out[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
  return 4;
}

bool IsHighHalf(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowHalf(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

ReportEncoding EncodingOfMark(const unsigned char* bytes, size_t size, size_t& markLength) {
  markLength = 0;
  if (size >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) {
    markLength = 3;
  } else if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    markLength = 2;
    return ReportEncoding::kUtf16LE;
  } else if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    markLength = 2;
    return ReportEncoding::kUtf16BE;
  }
  return ReportEncoding::kBytes;
}

size_t Utf16Decoder::Unit(uint32_t unit, unsigned char* out) {
  size_t written = 0;
  if (highHalf_ != 0) {
    if (IsLowHalf(unit)) {
      uint32_t c = 0x10000 + ((highHalf_ - 0xD800) << 10) + (unit - 0xDC00);
      highHalf_ = 0;
      return PutUtf8(c, out);
    }
    highHalf_ = 0;
    written = PutUtf8(kReplacement, out);
  }
  if (IsHighHalf(unit)) {
    highHalf_ = unit;
    return written;
  }
  return written + PutUtf8(IsLowHalf(unit) ? kReplacement : unit, out + written);
}

size_t Utf16Decoder::Convert(const unsigned char* in, size_t size, unsigned char* out) {
  size_t written = 0;
  for (size_t i = 0; i < size; ++i) {
    if (oddByte_ < 0) {
      oddByte_ = in[i];
      continue;
    }
    uint32_t first = static_cast<uint32_t>(oddByte_);
    oddByte_ = -1;
    written +=
        Unit(bigEndian_ ? (first << 8) | in[i] : (uint32_t(in[i]) << 8) | first, out + written);
  }
  return written;
}

size_t Utf16Decoder::Finish(unsigned char* out) {
  bool waiting = highHalf_ != 0 || oddByte_ >= 0;
  highHalf_ = 0;
  oddByte_ = -1;
  return waiting ? PutUtf8(kReplacement, out) : 0;
}

}  // namespace plenwick
