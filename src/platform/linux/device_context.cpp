// Printer device contexts on CUPS destinations. The page comes from the
// destination's media for the device mode's paper: size and margins, at 300
// device units per inch, turned for landscape.
#include "platform/linux/device_context.h"

#include <cmath>
#include <cstring>

#include "platform/winapi/handle_table.h"

namespace linux_platform {
namespace {

winapi::HandleTable<DeviceContext> g_deviceContexts(winapi::HandleKind::kDeviceContext);

constexpr double kHundredthsPerInch = 2540.0;

int DeviceUnits(int hundredthsOfMm) {
  return static_cast<int>(std::floor(hundredthsOfMm * kDeviceUnitsPerInch / kHundredthsPerInch));
}

}  // namespace

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

DeviceContext* FindDeviceContext(HDC dc) { return g_deviceContexts.Find(dc); }

HDC AddDeviceContext(std::unique_ptr<DeviceContext> dc) {
  return g_deviceContexts.Add<HDC>(std::move(dc));
}

std::unique_ptr<DeviceContext> RemoveDeviceContext(HDC dc) { return g_deviceContexts.Remove(dc); }

void DeselectEverywhere(const Font* font) {
  g_deviceContexts.ForEach<HDC>([font](HDC, DeviceContext& dc) {
    if (dc.selected != font) return;
    dc.selected = nullptr;
    dc.selectedHandle = nullptr;
  });
}

}  // namespace linux_platform
