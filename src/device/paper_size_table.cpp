#include "device/paper_size_table.h"

#include <cmath>
#include <initializer_list>

#include "core/fixed_text.h"

namespace plenwick {
namespace {

// Sizes defined in inches are kept as the exact product of the inch size
// and 25.4, as the platform defines them, not as rounded millimetres.
constexpr double kInch = 25.4;

// A job's size matches a row when each side is within a tenth of a
// millimetre of the row's: the option parser cuts inch sizes down to whole
// tenths (4 1/8 in gives 1047 for 1047.75), and a size given in rounded
// inches (8.27 x 11.69 in for A4) still lands inside it. No two different
// sizes of the table are that close.
constexpr double kToleranceTenths = 1.0;

bool SideMatches(int32_t tenths, double millimetres) {
  return std::fabs(tenths - millimetres * 10.0) <= kToleranceTenths;
}

}  // namespace

const PaperSize PaperSizeTable[kPaperSizeCount + 1] = {
    {16, "10 by 14 sheet", 10 * kInch, 14 * kInch},
    {17, "11 by 17 sheet", 11 * kInch, 17 * kInch},
    {8, "A3", 297, 420},
    {9, "A4", 210, 297},
    {10, "A4 small", 210, 297},
    {11, "A5", 148, 210},
    {12, "B4", 250, 354},
    {13, "B5", 182, 257},
    {24, "C", 17 * kInch, 22 * kInch},
    {25, "D", 22 * kInch, 34 * kInch},
    {20, "#10 envelope", 4.125 * kInch, 9.5 * kInch},
    {21, "#11 envelope", 4.5 * kInch, 10.375 * kInch},
    {22, "#12 envelope", 4.75 * kInch, 11 * kInch},
    {23, "#14 envelope", 5 * kInch, 11.5 * kInch},
    {19, "#9 envelope", 3.875 * kInch, 8.875 * kInch},
    {33, "B4 envelope", 250, 353},
    {34, "B5 envelope", 176, 250},
    {35, "B6 envelope", 176, 125},
    {29, "C3 envelope", 324, 458},
    {30, "C4 envelope", 229, 324},
    {28, "C5 envelope", 162, 229},
    {31, "C6 envelope", 114, 162},
    {32, "C65 envelope", 114, 229},
    {27, "DL envelope", 110, 220},
    {36, "Italy envelope", 110, 230},
    {37, "Monarch envelope", 3.875 * kInch, 7.5 * kInch},
    {38, "6 3/4 envelope", 3.625 * kInch, 6.5 * kInch},
    {26, "E", 34 * kInch, 44 * kInch},
    {7, "Executive", 7.25 * kInch, 10.5 * kInch},
    {41, "German legal fanfold", 8.5 * kInch, 13 * kInch},
    {40, "German standard fanfold", 8.5 * kInch, 12 * kInch},
    {39, "U.S. standard fanfold", 14.825 * kInch, 11 * kInch},
    {14, "Folio", 8.5 * kInch, 13 * kInch},
    {4, "Ledger", 17 * kInch, 11 * kInch},
    {5, "Legal", 8.5 * kInch, 14 * kInch},
    {1, "Letter", 8.5 * kInch, 11 * kInch},
    {2, "Letter small", 8.5 * kInch, 11 * kInch},
    {18, "Note", 8.5 * kInch, 11 * kInch},
    {15, "Quarto", 215, 275},
    {6, "Statement", 5.5 * kInch, 8.5 * kInch},
    {3, "Tabloid", 11 * kInch, 17 * kInch},
    {0, nullptr, 0, 0},
};

const PaperSize* FindPaperSizeByName(const char* name) {
  for (const PaperSize* row = PaperSizeTable; row->name; ++row) {
    if (EqualsIgnoreCase(row->name, name)) return row;
  }
  return nullptr;
}

// Several rows share a size (A4 and A4 small; Letter, Letter small and
// Note; Folio and German legal fanfold; Tabloid and the 11 by 17 sheet):
// the lowest code wins, the common paper that every driver knows. A row in
// the job's own orientation is preferred, so 17 x 11 in is a Ledger while
// 11 x 17 in is a Tabloid; a paper given turned finds its row otherwise.
const PaperSize* FindPaperSizeByDimensions(int32_t width, int32_t length, bool* turned) {
  for (bool across : {false, true}) {
    const PaperSize* found = nullptr;
    for (const PaperSize* row = PaperSizeTable; row->name; ++row) {
      double rowWidth = across ? row->length : row->width;
      double rowLength = across ? row->width : row->length;
      if (!SideMatches(width, rowWidth) || !SideMatches(length, rowLength)) continue;
      if (!found || row->code < found->code) found = row;
    }
    if (found) {
      if (turned) *turned = across;
      return found;
    }
  }
  return nullptr;
}

}  // namespace plenwick
