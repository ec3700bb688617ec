// The printer selection against Wine's real default printer.
#include "device/printer_selection.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// long_printer_name_test.sh runs this with a default printer whose name is
// longer than the device mode's field: the query answers it whole.
TEST(WinePrinterSelection, LongPrinterNameIsAnsweredWhole) {
  const char* expected = getenv("PLENWICK_LONG_PRINTER");
  if (!expected) GTEST_SKIP() << "run by long_printer_name_test.sh, with a long default printer";
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), expected);
}

}  // namespace
