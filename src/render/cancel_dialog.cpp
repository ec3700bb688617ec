#include "render/cancel_dialog.h"

namespace plenwick {

HINSTANCE g_moduleInstance = nullptr;

}  // namespace plenwick
