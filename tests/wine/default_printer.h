// Tests that print need the default printer that the test command sets up
// (the CUPS queue "PDF"); on a machine without any printer they are
// skipped with the reason, not failed.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"

namespace plenwick_test {

// The name of the default printer, or empty when there is none.
inline std::string DefaultPrinterName() {
  char name[256] = "";
  DWORD size = sizeof name;
  return GetDefaultPrinterA(name, &size) ? name : "";
}

}  // namespace plenwick_test

// In a test body or SetUp: skips the test when no printer is configured.
#define SKIP_WITHOUT_DEFAULT_PRINTER()                                                \
  do {                                                                                \
    if (plenwick_test::DefaultPrinterName().empty()) {                                \
      GTEST_SKIP() << "no default printer is configured: ./scripts/test sets up the " \
                      "CUPS queue \"PDF\" as the default printer";                    \
    }                                                                                 \
  } while (0)
