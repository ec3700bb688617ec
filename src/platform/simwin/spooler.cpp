#include "spooler.h"

#include "gdi_hooks.h"

namespace simwin {
namespace detail {

void SpoolerOnCreateDC(HDC, const PrinterSpec&) {}
void SpoolerOnDeleteDC(HDC) {}

}  // namespace detail

void ResetSpooler() {}

}  // namespace simwin
