#include "resources/dialog_templates.h"

#include "resources/resource_ids.h"

namespace plenwick {

namespace {
constexpr int kCancelButton = 2;  // IDCANCEL
}

const winapi::DialogTemplate& CancelDialogTemplate() {
  static const winapi::DialogTemplate kTemplate = {"AbrtDlg",
                                                   "Spooling...",
                                                   {{IDC_PROGRESS, "Printing..."},
                                                    {-1, "Press to cancel job"},
                                                    {kCancelButton, "&Cancel", true},
                                                    {-1, "Plenwick 2.5"}},
                                                   kCancelButton};
  return kTemplate;
}

}  // namespace plenwick
