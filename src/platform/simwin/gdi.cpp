#include "gdi.h"

#include "handle_table.h"

// Device contexts are filled in as the rendering code grows; until then a
// device context is only a handle that can be deleted.
BOOL DeleteDC(HDC) { return FALSE; }

namespace simwin {

void ResetGdi() {}

}  // namespace simwin
