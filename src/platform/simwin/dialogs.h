// Simulated dialogs, windows and the thread's message queue.
#pragma once

#include "types.h"

namespace simwin {

void ResetDialogs();

}  // namespace simwin
