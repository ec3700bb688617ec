#include "platform/linux/cups_cairo/font_name_filter.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace linux_platform {
namespace {

const char kFontName[] = "/FontName /";
const size_t kFontNameSize = sizeof kFontName - 1;
// Longer than any face's name: a name not ended within it is left as it is.
const size_t kLongestName = 256;

bool EndsName(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

}  // namespace

bool FontNameFilter::Pass(const char* data, size_t length) {
  size_t at = 0;
  while (at < length) {
    const void* found = memmem(data + at, length - at, kFontName, kFontNameSize);
    if (!found) break;
    size_t name = static_cast<size_t>(static_cast<const char*>(found) - data) + kFontNameSize;
    size_t end = name;
    while (end < length && end - name < kLongestName && !EndsName(data[end])) ++end;
    if (end == length && end - name < kLongestName) {
      // The name may go on in the next piece.
      if (name - kFontNameSize > at && !sink_(data + at, name - kFontNameSize - at)) return false;
      held_.assign(data + name - kFontNameSize, length - (name - kFontNameSize));
      return true;
    }
    if (!sink_(data + at, end - at)) return false;
    at = end;
    if (end - name == kLongestName) continue;
    int seen = ++fonts_[std::string(data + name, end - name)];
    std::string number = "-" + std::to_string(seen);
    if (seen > 1 && !sink_(number.data(), number.size())) return false;
  }
  // The longest end of the piece that could begin the pattern waits for
  // the next piece.
  size_t keep = std::min(length - at, kFontNameSize - 1);
  while (keep > 0 && memcmp(data + length - keep, kFontName, keep) != 0) --keep;
  if (length - keep > at && !sink_(data + at, length - keep - at)) return false;
  held_.assign(data + length - keep, keep);
  return true;
}

}  // namespace linux_platform
