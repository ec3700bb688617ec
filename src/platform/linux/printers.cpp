// Printers are CUPS destinations. The print dialog has no window here: it
// answers the default destination when asked for it, and a setup dialog is
// reported as cancelled, so the selection stays as it was.
#include <cstring>

#include "platform/linux/cups_destination.h"
#include "platform/linux/live_objects.h"
#include "platform/winapi/common.h"

namespace {

constexpr char kDriverName[] = "CUPS";

struct Printer {
  std::unique_ptr<linux_platform::Destination> destination;
};
linux_platform::LiveObjects<Printer> g_printers;

// The destination's names, its URI as the port.
HGLOBAL NewDevNames(linux_platform::Destination& destination) {
  const char* uri = cupsGetOption("device-uri", destination.dest()->num_options,
                                  destination.dest()->options);
  return winapi::NewDevNamesBlock(kDriverName, destination.name(), uri ? uri : destination.name());
}

HGLOBAL NewDevMode(linux_platform::Destination& destination) {
  DEVMODEA mode;
  destination.FillDefaults(mode);
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

BOOL OpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA) {
  if (!printer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *printer = nullptr;
  // No name would be the print server itself, which this platform does not
  // open.
  auto destination = name && *name ? linux_platform::Destination::Find(name) : nullptr;
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
  printer->destination->FillDefaults(result);
  if (hasInput) linux_platform::MergeFlaggedFields(result, given);
  memcpy(output, &result, sizeof result);
  return IDOK;
}
