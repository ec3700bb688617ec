// The print dialog has no window here: it answers the default destination
// when asked for it, and a setup dialog is reported as cancelled, so the
// selection stays as it was.
#include "platform/linux/devmode.h"
#include "platform/winapi/common.h"

namespace {

constexpr char kDriverName[] = "CUPS";

// The destination's names, its URI as the port.
HGLOBAL NewDevNames(linux_platform::Destination& destination) {
  const char* uri = destination.DeviceUri();
  return winapi::NewDevNamesBlock(kDriverName, destination.name(), uri ? uri : destination.name());
}

HGLOBAL NewDevMode(linux_platform::Destination& destination) {
  DEVMODEA mode;
  linux_platform::FillDefaults(destination, mode);
  return winapi::NewDevModeBlock(mode);
}

}  // namespace

BOOL PrintDlgA(LPPRINTDLGA record) {
  if (!record) return FALSE;
  if (!(record->Flags & PD_RETURNDEFAULT)) return FALSE;  // no dialog: cancelled
  std::unique_ptr<linux_platform::Destination> destination = linux_platform::Destination::Find("");
  if (!destination) return FALSE;
  record->hDevMode = NewDevMode(*destination);
  record->hDevNames = NewDevNames(*destination);
  if (!record->hDevMode || !record->hDevNames) {
    record->hDevMode = GlobalFree(record->hDevMode);
    record->hDevNames = GlobalFree(record->hDevNames);
    return FALSE;
  }
  return TRUE;
}
