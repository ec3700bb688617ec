// Printer device contexts on CUPS destinations. The page comes from the
// destination's media for the device mode's paper: size and margins, at 300
// device units per inch, turned for landscape.
#include "platform/linux/device_context.h"

#include <cmath>
#include <cstring>

#include "platform/linux/live_objects.h"

namespace linux_platform {
namespace {

LiveObjects<DeviceContext> g_deviceContexts;

constexpr double kHundredthsPerInch = 2540.0;

int DeviceUnits(int hundredthsOfMm) {
  return static_cast<int>(std::floor(hundredthsOfMm * kDeviceUnitsPerInch / kHundredthsPerInch));
}

void SetUpPage(DeviceContext& dc) {
  const cups_size_t& media = dc.media;
  int width = DeviceUnits(media.width);
  int length = DeviceUnits(media.length);
  int printableWidth = DeviceUnits(media.width - media.left - media.right);
  int printableLength = DeviceUnits(media.length - media.top - media.bottom);
  dc.landscape = dc.mode.dmOrientation == DMORIENT_LANDSCAPE;
  if (dc.landscape) {
    // The paper turned a quarter: its length runs across the page, and the
    // bottom margin becomes the left one.
    dc.pageWidth = length;
    dc.pageHeight = width;
    dc.horzRes = printableLength;
    dc.vertRes = printableWidth;
    dc.offsetX = DeviceUnits(media.bottom);
    dc.offsetY = DeviceUnits(media.left);
  } else {
    dc.pageWidth = width;
    dc.pageHeight = length;
    dc.horzRes = printableWidth;
    dc.vertRes = printableLength;
    dc.offsetX = DeviceUnits(media.left);
    dc.offsetY = DeviceUnits(media.top);
  }
}

}  // namespace

DeviceContext* FindDeviceContext(HDC dc) { return g_deviceContexts.Find(dc); }

void DeselectEverywhere(const Font* font) {
  g_deviceContexts.ForEach([font](DeviceContext& dc) {
    if (dc.selected == font) dc.selected = nullptr;
  });
}

}  // namespace linux_platform

using linux_platform::DeviceContext;

HDC CreateDCA(LPCSTR, LPCSTR device, LPCSTR, const DEVMODEA* mode) {
  // A device context is made for a named printer; without a name it is the
  // default destination, as the default printer on Windows.
  auto dc = std::make_unique<DeviceContext>();
  dc->destination = linux_platform::Destination::Find(device ? device : "");
  if (!dc->destination) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return nullptr;
  }
  dc->destination->FillDefaults(dc->mode);
  if (mode) linux_platform::MergeFlaggedFields(dc->mode, *mode);
  dc->media = dc->destination->MediaOf(dc->mode);
  if (dc->media.width <= 0 || dc->media.length <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  linux_platform::SetUpPage(*dc);
  return linux_platform::g_deviceContexts.Add<HDC>(std::move(dc));
}

BOOL DeleteDC(HDC handle) {
  std::unique_ptr<DeviceContext> dc = linux_platform::g_deviceContexts.Remove(handle);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // A document still open goes with its device context, unprinted.
  if (dc->document) linux_platform::AbandonDocument(*dc);
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
