#include <cstring>

#include "internal.h"

namespace {

// One printer device context: the printer it was made on and a copy of the
// device mode it was made with.
struct DeviceContextInfo {
  std::string driver;
  std::string device;  // "(null)" when no device name was given
  bool hadDevMode = false;
  DEVMODEA devMode{};  // the public fields of the device mode given
  int horzRes = 0;     // printable size after orientation
  int vertRes = 0;
  int physicalWidth = 0;  // the paper after orientation
  int physicalHeight = 0;
  int dpiX = 0;
  int dpiY = 0;
};

simwin::HandleTable<DeviceContextInfo> g_dcs(simwin::HandleKind::kDeviceContext);
std::vector<simwin::CreateDCCall> g_createCalls;
std::vector<simwin::GdiEvent> g_events;
bool g_failNextCreateDC = false;

std::string TextOrNull(LPCSTR text) { return text ? text : "(null)"; }

}  // namespace

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode) {
  simwin::CreateDCCall call{TextOrNull(driver),      TextOrNull(device), TextOrNull(port),
                            mode != nullptr,         DEVMODEA{},         nullptr,
                            simwin::DriverSettings{}};
  if (mode) call.devMode = *mode;
  // A device context needs a printer: the one the device name names.
  const simwin::PrinterSpec* printer = device ? simwin::detail::FindPrinter(device) : nullptr;
  if (g_failNextCreateDC || !printer) {
    g_failNextCreateDC = false;
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    g_createCalls.push_back(call);
    return nullptr;
  }
  auto info = std::make_unique<DeviceContextInfo>();
  info->driver = call.driver;
  info->device = call.device;
  info->hadDevMode = call.hadDevMode;
  info->devMode = call.devMode;
  info->dpiX = printer->dpiX;
  info->dpiY = printer->dpiY;
  info->horzRes = printer->horzRes;
  info->vertRes = printer->vertRes;
  info->physicalWidth = printer->physicalWidth;
  info->physicalHeight = printer->physicalHeight;
  call.printed = simwin::detail::SettingsOfMode(*printer, mode);
  // Landscape turns the printable area, as printer drivers do.
  if (call.printed.orientation == DMORIENT_LANDSCAPE) {
    std::swap(info->horzRes, info->vertRes);
    std::swap(info->physicalWidth, info->physicalHeight);
  }
  call.result = g_dcs.Add<HDC>(std::move(info));
  g_createCalls.push_back(call);
  simwin::detail::OnCreateDC(call.result, *printer);
  return call.result;
}

BOOL DeleteDC(HDC dc) {
  if (!g_dcs.Find(dc)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  simwin::detail::OnDeleteDC(dc);
  g_dcs.Remove(dc);
  return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
  const DeviceContextInfo* info = g_dcs.Find(dc);
  if (!info) return 0;
  switch (index) {
    case HORZRES:
      return info->horzRes;
    case VERTRES:
      return info->vertRes;
    case LOGPIXELSX:
      return info->dpiX;
    case LOGPIXELSY:
      return info->dpiY;
    case PHYSICALWIDTH:
      return info->physicalWidth;
    case PHYSICALHEIGHT:
      return info->physicalHeight;
    default:
      return 0;
  }
}

namespace simwin {

const std::vector<CreateDCCall>& CreateDCCalls() { return g_createCalls; }
void FailNextCreateDC() { g_failNextCreateDC = true; }
const std::vector<GdiEvent>& GdiEvents() { return g_events; }

namespace detail {

size_t LiveDeviceContexts() { return g_dcs.Count(); }

void RecordGdiEvent(const GdiEvent& event) { g_events.push_back(event); }

void ResetGdi() {
  g_dcs.ForEach<HDC>([](HDC dc, const DeviceContextInfo&) { simwin::detail::OnDeleteDC(dc); });
  g_dcs.Clear();
  g_createCalls.clear();
  g_events.clear();
  g_failNextCreateDC = false;
}

}  // namespace detail

}  // namespace simwin
