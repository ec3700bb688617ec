#include "gdi_text.h"

#include "gdi_hooks.h"

namespace simwin {
namespace detail {

void TextOnCreateDC(HDC, const PrinterSpec&) {}
void TextOnDeleteDC(HDC) {}

}  // namespace detail

void ResetGdiText() {}

}  // namespace simwin
