#include "winspool.h"

namespace simwin {

void ResetWinspool() {}

}  // namespace simwin
