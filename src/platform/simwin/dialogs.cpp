#include "dialogs.h"

namespace simwin {

void ResetDialogs() {}

}  // namespace simwin
