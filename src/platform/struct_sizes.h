// The sizes that records carry in their own size field (lStructSize,
// cbSize), as the platform checks them. 32-bit Windows expects its packed
// 32-bit layouts, and the platforms without windows.h take the same
// numbers; 64-bit Windows has wider pointers and handles, and its headers
// give the sizes. The layouts are asserted where the real headers are
// (SHELLEXECUTEINFOA, whose cbSize is always sizeof, included).
#pragma once

#include "win32.h"

namespace plenwick {

#if defined(_WIN64)
constexpr DWORD kPrintDlgSize = sizeof(PRINTDLGA);
constexpr int kDocInfoSize = sizeof(DOCINFOA);
static_assert(kPrintDlgSize == 120, "64-bit PRINTDLGA layout");
static_assert(kDocInfoSize == 40, "64-bit DOCINFOA layout");
static_assert(sizeof(SHELLEXECUTEINFOA) == 112, "64-bit SHELLEXECUTEINFOA layout");
#else
constexpr DWORD kPrintDlgSize = 66;
constexpr int kDocInfoSize = 20;
#if defined(_WIN32)
static_assert(sizeof(PRINTDLGA) == kPrintDlgSize, "32-bit PRINTDLGA layout");
static_assert(sizeof(DOCINFOA) == kDocInfoSize, "32-bit DOCINFOA layout");
static_assert(sizeof(SHELLEXECUTEINFOA) == 60, "32-bit SHELLEXECUTEINFOA layout");
#endif
#endif

}  // namespace plenwick
