#include "platform/linux/cups_cairo/page_group_filter.h"

#include <algorithm>
#include <cstring>

namespace linux_platform {

const std::string& PageGroupFilter::Group() {
  static const std::string group =
      "/Group <<\n"
      "      /Type /Group\n"
      "      /S /Transparency\n"
      "      /I true\n"
      "      /CS /DeviceRGB\n"
      "   >>";
  return group;
}

const std::string& PageGroupFilter::Pattern() {
  static const std::string pattern = Group() + "\n   /Resources ";
  return pattern;
}

bool PageGroupFilter::Pass(const char* data, size_t length) {
  const std::string& pattern = Pattern();
  const std::string spaces(Group().size(), ' ');
  size_t at = 0;
  while (at < length) {
    const void* found = memmem(data + at, length - at, pattern.data(), pattern.size());
    if (!found) break;
    size_t match = static_cast<size_t>(static_cast<const char*>(found) - data);
    if (!sink_(data + at, match - at) || !sink_(spaces.data(), spaces.size())) return false;
    at = match + spaces.size();
  }
  // The longest end of the piece that could begin the pattern waits for
  // the next piece.
  size_t keep = std::min(length - at, pattern.size() - 1);
  while (keep > 0 && (data[length - keep] != pattern[0] ||
                      memcmp(data + length - keep, pattern.data(), keep) != 0)) {
    --keep;
  }
  if (length - keep > at && !sink_(data + at, length - keep - at)) return false;
  held_.assign(data + length - keep, keep);
  return true;
}

}  // namespace linux_platform
