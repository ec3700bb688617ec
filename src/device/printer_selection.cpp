#include "device/printer_selection.h"

#include <cstring>

#include "core/debug_log.h"
#include "core/fixed_text.h"
#include "core/user_notice.h"
#include "platform/handles.h"
#include "platform/struct_sizes.h"

namespace plenwick {
namespace {

constexpr DWORD kCommonFlags =
    PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;

PRINTDLGA NewPrintDlg(DWORD flags) {
  PRINTDLGA record;
  memset(&record, 0, sizeof record);
  record.lStructSize = kPrintDlgSize;
  record.Flags = flags;
  return record;
}

}  // namespace

PrinterSelection& g_printerSelection = *new PrinterSelection;

void PrinterSelection::TakeDefault(HGLOBAL devMode, HGLOBAL devNames) {
  devMode_.reset(devMode);
  devNames_.reset(devNames);
  chosen_ = false;
}

void PrinterSelection::TakeFromSetup(HGLOBAL devMode, HGLOBAL devNames) {
  devMode_.release();
  devNames_.release();
  TakeDefault(devMode, devNames);
  chosen_ = true;
}

void PrinterSelection::ReplaceDevMode(HGLOBAL rebuilt) { devMode_.reset(rebuilt); }

bool PrinterSelection::CurrentPrinter(char* name, size_t capacity) const {
  return DeviceNameOf(devNames_.get(), name, capacity);
}

std::string PrinterSelection::DevModePrinter(const DEVMODEA& mode, const std::string& known) {
  // A name that fills the whole field has no terminator; it ends there.
  const char* field = reinterpret_cast<const char*>(mode.dmDeviceName);
  std::string name(field, FieldLength(field, sizeof mode.dmDeviceName));
  bool full = name.size() >= sizeof mode.dmDeviceName - 1;
  if (full && known.size() > name.size() && known.compare(0, name.size(), name) == 0) return known;
  return name;
}

void PrinterSelection::Forget() {
  devMode_.release();
  devNames_.release();
  chosen_ = false;
}

bool GetDevMode() {
  // An empty selection is asked again: a printer installed later, or a
  // print server that was down at the first use and is back, is found by
  // the next request without a restart. A filled one is kept, with the
  // settings the last job left in it.
  if (!g_printerSelection.devMode()) {
    DebugLog("GetDevMode() new PRINTDLG created.\n");
    PRINTDLGA record = NewPrintDlg(PD_RETURNDEFAULT | kCommonFlags);
    PrintDlgA(&record);
    // With no default printer both are null, and the next call asks again.
    g_printerSelection.TakeDefault(record.hDevMode, record.hDevNames);
  } else {
    DebugLog("GetDevMode() reusing existing PRINTDLG.\n");
  }
  return g_printerSelection.devMode() != nullptr;
}

bool RefreshPrinterSelection() {
  char chosen[MAX_PATH] = "";
  if (g_printerSelection.chosen() && g_printerSelection.CurrentPrinter(chosen, sizeof chosen)) {
    UniquePrinter check;  // only the check: closed at once
    if (OpenPrinterA(chosen, check.put(), nullptr)) return GetDevMode();
    std::string why = SystemErrorText(GetLastError());
    DebugLog(
        "printer %s chosen in Print Setup cannot be opened (%s): the default printer is "
        "taken again\n",
        chosen, why.c_str());
    TellUser(
        "printer %s chosen in Print Setup cannot be opened (%s); the default printer is "
        "taken again",
        chosen, why.c_str());
  }
  // The default moves (users change it, Windows makes the last printer
  // used the default, printers are removed): it is asked anew each time.
  g_printerSelection.TakeDefault(nullptr, nullptr);
  return GetDevMode();
}

bool ShowPrintSetup() {
  if (!WindowStationVisible()) {
    DebugLog("Print Setup not shown: no window can be seen in this process\n");
    TellUser("Print Setup cannot be shown: no window can be seen in this process");
    return false;
  }
  GetDevMode();
  PRINTDLGA record = NewPrintDlg(PD_PRINTSETUP | kCommonFlags);
  record.hDevMode = g_printerSelection.devMode();
  record.hDevNames = g_printerSelection.devNames();
  if (!PrintDlgA(&record)) return false;
  g_printerSelection.TakeFromSetup(record.hDevMode, record.hDevNames);
  return true;
}

std::string GetSelectedPrinterName() {
  GetDevMode();
  GlobalLockGuard<DEVMODEA> mode(g_printerSelection.devMode());
  if (!mode) return "**ERROR** Java_doc_LocalPrint_get_1printer_1name() GetLock() failed";
  // A printer name longer than the field arrives cut, and a cut name opens
  // no printer. The device names hold it whole.
  char whole[MAX_PATH] = "";
  g_printerSelection.CurrentPrinter(whole, sizeof whole);
  return PrinterSelection::DevModePrinter(*mode.get(), whole);
}

bool DeviceNameOf(HGLOBAL devNames, char* name, size_t capacity) {
  GlobalLockGuard<DEVNAMES> names(devNames);
  if (!names) return false;
  CopyText(name, capacity, reinterpret_cast<const char*>(names.get()) + names->wDeviceOffset);
  return true;
}

void ResetPrinterSelection() { g_printerSelection.Forget(); }

}  // namespace plenwick
