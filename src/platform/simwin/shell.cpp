#include "shell.h"

namespace simwin {

void ResetShell() {}

}  // namespace simwin
