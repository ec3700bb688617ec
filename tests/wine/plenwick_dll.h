// The real PLENWICKDLL.dll for the tests under Wine, loaded once per test
// program as the Java virtual machine loads it (tools/dll_loader.h).
#pragma once

#include "dll_loader.h"

namespace plenwick_test {

using plenwick_host::PlenwickDll;

}  // namespace plenwick_test
