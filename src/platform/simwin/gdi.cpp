#include "gdi.h"

#include <cstring>

#include "gdi_hooks.h"
#include "handle_table.h"
#include "kernel.h"
#include "printers.h"

namespace {

simwin::HandleTable<simwin::DeviceContextInfo> g_dcs(0x300000);
std::vector<simwin::CreateDCCall> g_createCalls;
std::vector<simwin::GdiEvent> g_events;
bool g_failNextCreateDC = false;

std::string TextOrNull(LPCSTR text) { return text ? text : "(null)"; }

}  // namespace

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode) {
  simwin::CreateDCCall call{TextOrNull(driver), TextOrNull(device), TextOrNull(port),
                            mode != nullptr, DEVMODEA{}, nullptr};
  if (mode) call.devMode = *mode;
  // A device context needs a printer: the one the device name names.
  const simwin::PrinterSpec* printer = device ? simwin::FindPrinter(device) : nullptr;
  if (g_failNextCreateDC || !printer) {
    g_failNextCreateDC = false;
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    g_createCalls.push_back(call);
    return nullptr;
  }
  auto info = std::make_unique<simwin::DeviceContextInfo>();
  info->driver = call.driver;
  info->device = call.device;
  info->hadDevMode = call.hadDevMode;
  info->devMode = call.devMode;
  info->dpiX = printer->dpiX;
  info->dpiY = printer->dpiY;
  info->horzRes = printer->horzRes;
  info->vertRes = printer->vertRes;
  // Landscape turns the printable area, as printer drivers do.
  if (mode && (mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE) {
    std::swap(info->horzRes, info->vertRes);
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
  const simwin::DeviceContextInfo* info = g_dcs.Find(dc);
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
    default:
      return 0;
  }
}

namespace simwin {

const std::vector<CreateDCCall>& CreateDCCalls() { return g_createCalls; }
const DeviceContextInfo* FindDeviceContext(HDC dc) { return g_dcs.Find(dc); }
size_t LiveDeviceContexts() { return g_dcs.Count(); }
void FailNextCreateDC() { g_failNextCreateDC = true; }
const std::vector<GdiEvent>& GdiEvents() { return g_events; }
void RecordGdiEvent(const GdiEvent& event) { g_events.push_back(event); }

void ResetGdi() {
  for (const auto& entry : g_dcs.All()) {
    simwin::detail::OnDeleteDC(reinterpret_cast<HDC>(entry.first));
  }
  g_dcs.Clear();
  g_createCalls.clear();
  g_events.clear();
  g_failNextCreateDC = false;
}

}  // namespace simwin
