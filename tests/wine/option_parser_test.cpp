// Paper widths and lengths read by the Windows build: its C runtime reads
// hexadecimal numbers and infinity, the option parser must not.
#include <gtest/gtest.h>

#include "paper_dimension_cases.h"
#include "options/option_parser.h"

namespace {

TEST(WinePaperDimension, SameValuesAsOnEveryHost) {
  for (const auto& c : plenwick_test::kPaperDimensionCases) {
    EXPECT_EQ(plenwick::PaperDimension(c.value), c.tenths) << "\"" << c.value << "\"";
  }
}

}  // namespace
