// Printer device contexts on CUPS destinations. The page comes from the
// destination's media for the device mode's paper: size and margins, at 300
// device units per inch, turned for landscape.
#include "platform/linux/device_context.h"
#include "platform/linux/devmode.h"

using linux_platform::DeviceContext;

HDC CreateDCA(LPCSTR, LPCSTR device, LPCSTR, const DEVMODEA* mode) {
  // A device context is made for a named printer; without a name it is the
  // default destination, as the default printer on Windows.
  auto dc = std::make_unique<DeviceContext>();
  dc->destination = linux_platform::Destination::Find(device ? device : "");
  if (!dc->destination && device) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return nullptr;
  }
  if (dc->destination) {
    linux_platform::FillDefaults(*dc->destination, dc->mode);
  } else {
    // No default printer (or no print server): a device context whose
    // documents can only go to a file (DOCINFO.lpszOutput), on the paper
    // the device mode names or the system's.
    dc->mode.dmSize = sizeof dc->mode;
    dc->mode.dmSpecVersion = DM_SPECVERSION;
    dc->mode.dmOrientation = DMORIENT_PORTRAIT;
    dc->mode.dmCopies = 1;
  }
  if (mode) linux_platform::MergeFlaggedFields(dc->mode, *mode);
  linux_platform::JobSettings settings = linux_platform::SettingsOf(dc->mode);
  dc->media = dc->destination ? linux_platform::MediaOf(*dc->destination, settings)
                              : linux_platform::MediaWithoutPrinter(settings);
  if (dc->media.width <= 0 || dc->media.length <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  linux_platform::SetUpPage(*dc);
  return linux_platform::AddDeviceContext(std::move(dc));
}

BOOL DeleteDC(HDC handle) {
  std::unique_ptr<DeviceContext> dc = linux_platform::RemoveDeviceContext(handle);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // A document still open goes with its device context, unprinted: its
  // owner cancels its job.
  return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
  DeviceContext* dc = linux_platform::FindDeviceContext(handle);
  if (!dc) return 0;
  switch (index) {
    case HORZRES:
      return dc->horzRes;
    case VERTRES:
      return dc->vertRes;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return linux_platform::kDeviceUnitsPerInch;
    case PHYSICALWIDTH:
      return dc->pageWidth;
    case PHYSICALHEIGHT:
      return dc->pageHeight;
    default:
      return 0;
  }
}
