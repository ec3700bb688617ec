// The printer selection against Wine's real default printer: the CUPS
// queue "PDF" that the test command sets up.
#include "device/printer_selection.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "default_printer.h"

namespace {

TEST(WinePrinterSelection, DefaultPrinterIsTheCupsQueue) {
  SKIP_WITHOUT_DEFAULT_PRINTER();
  ASSERT_TRUE(plenwick::GetDevMode());
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), "PDF");
  char device[100];
  ASSERT_TRUE(
      plenwick::DeviceNameOf(plenwick::g_printerSelection.devNames(), device, sizeof device));
  EXPECT_STREQ(device, "PDF");
  DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(plenwick::g_printerSelection.devMode()));
  ASSERT_NE(mode, nullptr);
  EXPECT_GE(mode->dmSpecVersion, 0x30A);
  GlobalUnlock(plenwick::g_printerSelection.devMode());
  EXPECT_TRUE(plenwick::GetDevMode());  // reused, still there
}

// long_printer_name_test.sh runs this with a default printer whose name is
// longer than the device mode's field: the query answers it whole.
TEST(WinePrinterSelection, LongPrinterNameIsAnsweredWhole) {
  const char* expected = getenv("PLENWICK_LONG_PRINTER");
  if (!expected) GTEST_SKIP() << "run by long_printer_name_test.sh, with a long default printer";
  EXPECT_EQ(plenwick::GetSelectedPrinterName(), expected);
}

}  // namespace
