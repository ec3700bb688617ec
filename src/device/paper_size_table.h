// The paper sizes that a form name (or a job's width and length) can select,
// with the platform's dmPaperSize code of each.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plenwick {

struct PaperSize {
  int16_t code;      // dmPaperSize value
  const char* name;  // null in the row that ends the table
  double width;      // millimetres
  double length;     // millimetres
};

constexpr size_t kPaperSizeCount = 41;
// kPaperSizeCount rows and a last row without a name.
extern const PaperSize PaperSizeTable[kPaperSizeCount + 1];

// The first row whose name equals name, ASCII letters compared without
// regard to case; null when there is none.
const PaperSize* FindPaperSizeByName(const char* name);

// The row of a paper of width x length tenths of a millimetre, in either
// orientation; null when no row matches. turned, when given, says whether
// the row matched with its width and length exchanged.
const PaperSize* FindPaperSizeByDimensions(int32_t width, int32_t length, bool* turned = nullptr);

}  // namespace plenwick
