#include "render/byte_source.h"

#include <algorithm>
#include <cstring>

namespace plenwick {

uint32_t FileByteSource::Read(unsigned char* buffer, uint32_t capacity) {
  UINT got = _lread(file_.get(), buffer, capacity);
  return got > capacity ? kFailed : got;  // HFILE_ERROR reads as a count above it
}

uint32_t MemoryByteSource::Read(unsigned char* buffer, uint32_t capacity) {
  size_t count = std::min<size_t>(capacity, size_ - at_);
  if (count > 0) memcpy(buffer, data_ + at_, count);
  at_ += count;
  return static_cast<uint32_t>(count);
}

}  // namespace plenwick
