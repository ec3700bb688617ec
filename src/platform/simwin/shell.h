// Simulated shell: ShellExecuteExA, processes and waiting for them.
#pragma once

#include "types.h"

namespace simwin {

void ResetShell();

}  // namespace simwin
