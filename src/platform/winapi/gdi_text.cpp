// The arithmetic of the text functions that needs no device.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common.h"
#include "winapi.h"

int winapi::CopyFaceName(const std::string& name, int count, LPSTR face) {
  if (!face) return static_cast<int>(name.size()) + 1;
  if (count <= 0) return 0;
  size_t copied = std::min(name.size(), static_cast<size_t>(count) - 1);
  memcpy(face, name.data(), copied);
  face[copied] = '\0';
  return static_cast<int>(copied);
}

int winapi::ChangeBackgroundMode(int* current, int mode) {
  if (!current || (mode != TRANSPARENT && mode != OPAQUE)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int previous = *current;
  *current = mode;
  return previous;
}

// Rounds half away from zero; a zero divisor or a result out of range
// gives -1, as on Windows, where the range stops at -INT32_MAX.
int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = static_cast<int64_t>(number) * numerator;
  int64_t divisor = denominator;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  int64_t half = divisor / 2;
  int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (result > INT32_MAX || result < -INT32_MAX) return -1;
  return static_cast<int>(result);
}
