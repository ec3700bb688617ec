// Inside the simulated Windows only: what other areas keep per device
// context is set up and dropped with it.
#pragma once

#include "gdi.h"
#include "printers.h"

namespace simwin {
namespace detail {

// Fonts and text state of a new device context (gdi_text.cpp).
void TextOnCreateDC(HDC dc, const PrinterSpec& printer);
void TextOnDeleteDC(HDC dc);
// Document and page state of a device context (spooler.cpp).
void SpoolerOnCreateDC(HDC dc, const PrinterSpec& printer);
void SpoolerOnDeleteDC(HDC dc);

inline void OnCreateDC(HDC dc, const PrinterSpec& printer) {
  TextOnCreateDC(dc, printer);
  SpoolerOnCreateDC(dc, printer);
}
inline void OnDeleteDC(HDC dc) {
  TextOnDeleteDC(dc);
  SpoolerOnDeleteDC(dc);
}

}  // namespace detail
}  // namespace simwin
