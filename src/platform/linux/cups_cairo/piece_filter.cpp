#include "platform/linux/cups_cairo/piece_filter.h"

namespace linux_platform {

bool PieceFilter::Write(const char* data, size_t length) {
  if (held_.empty()) return Pass(data, length);
  // The held bytes and the new piece are searched as one.
  joined_.swap(held_);
  held_.clear();
  joined_.append(data, length);
  bool passed = Pass(joined_.data(), joined_.size());
  joined_.clear();
  return passed;
}

bool PieceFilter::Flush() {
  if (held_.empty()) return true;
  bool passed = sink_(held_.data(), held_.size());
  held_.clear();
  return passed;
}

}  // namespace linux_platform
