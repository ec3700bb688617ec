// Printers are CUPS destinations, opened by name; a device mode is
// validated against the destination's defaults.
#include <cstring>

#include "platform/linux/cups_cairo/printer_session.h"
#include "platform/linux/devmode.h"
#include "platform/winapi/handle_table.h"

namespace {

struct Printer {
  std::shared_ptr<linux_platform::Destination> destination;
};
winapi::HandleTable<Printer> g_printers(winapi::HandleKind::kPrinter);

}  // namespace

BOOL OpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA) {
  if (!printer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *printer = nullptr;
  // No name would be the print server itself, which this platform does not
  // open.
  std::shared_ptr<linux_platform::Destination> destination =
      name && *name ? linux_platform::Destination::Find(name) : nullptr;
  if (!destination) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
  }
  *printer = g_printers.Add<HANDLE>(std::make_unique<Printer>(Printer{std::move(destination)}));
  return TRUE;
}

BOOL ClosePrinter(HANDLE printer) {
  if (!g_printers.Remove(printer)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

LONG DocumentPropertiesA(HWND, HANDLE handle, LPSTR, PDEVMODEA output, PDEVMODEA input,
                         DWORD mode) {
  Printer* printer = g_printers.Find(handle);
  if (!printer) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  if (mode == 0) return sizeof(DEVMODEA);
  if (!(mode & DM_OUT_BUFFER) || !output) return IDOK;
  // The input may be the output block itself: it is read before the output
  // is written.
  DEVMODEA given{};
  bool hasInput = (mode & DM_IN_BUFFER) && input;
  if (hasInput) memcpy(&given, input, sizeof given);
  DEVMODEA result;
  linux_platform::FillDefaults(*printer->destination, result);
  if (hasInput) linux_platform::MergeFlaggedFields(result, given);
  memcpy(output, &result, sizeof result);
  return IDOK;
}

int DeviceCapabilitiesA(LPCSTR device, LPCSTR, WORD capability, LPSTR output, const DEVMODEA*) {
  std::shared_ptr<linux_platform::Destination> destination =
      device && *device ? linux_platform::Destination::Find(device) : nullptr;
  if (!destination) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return -1;
  }
  return linux_platform::Capability(*destination, capability, output);
}

void BeginPrinterSession() { linux_platform::PrinterSession::Begin(); }

void EndPrinterSession() { linux_platform::PrinterSession::End(); }
