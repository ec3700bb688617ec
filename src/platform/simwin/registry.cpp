#include "registry.h"

namespace simwin {

void ResetRegistry() {}

}  // namespace simwin
