// The library's dialog templates for the platforms without a resource
// section; on Windows the same dialog comes from plenwick.rc.
#pragma once

#include "platform/dialog_template.h"

namespace plenwick {

// The cancel dialog shown while a document spools ("AbrtDlg").
const winapi::DialogTemplate& CancelDialogTemplate();

}  // namespace plenwick
