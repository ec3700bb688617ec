// Simulated registry: keys and values that tests preset.
#pragma once

#include "types.h"

namespace simwin {

void ResetRegistry();

}  // namespace simwin
