#include "device/printer_selection.h"

#include <cstring>

#include "core/debug_log.h"
#include "core/fixed_text.h"
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

const HGLOBAL kNeverQueried = reinterpret_cast<HGLOBAL>(static_cast<intptr_t>(-1));
PrinterSelection g_printerSelection = {kNeverQueried, kNeverQueried};

bool GetDevMode() {
  // An empty selection is asked again: a printer installed later, or a
  // print server that was down at the first use and is back, is found by
  // the next request without a restart. A filled one is kept, with the
  // settings the last job left in it.
  if (g_printerSelection.devMode == kNeverQueried || !g_printerSelection.devMode) {
    DebugLog("GetDevMode() new PRINTDLG created.\n");
    PRINTDLGA record = NewPrintDlg(PD_RETURNDEFAULT | kCommonFlags);
    PrintDlgA(&record);
    // With no default printer both are null, and the next call asks again.
    g_printerSelection.devMode = record.hDevMode;
    g_printerSelection.devNames = record.hDevNames;
  } else {
    DebugLog("GetDevMode() reusing existing PRINTDLG.\n");
  }
  return g_printerSelection.devMode != nullptr;
}

bool ShowPrintSetup() {
  GetDevMode();
  PRINTDLGA record = NewPrintDlg(PD_PRINTSETUP | kCommonFlags);
  record.hDevMode = g_printerSelection.devMode;
  record.hDevNames = g_printerSelection.devNames;
  if (!PrintDlgA(&record)) return false;
  g_printerSelection.devMode = record.hDevMode;
  g_printerSelection.devNames = record.hDevNames;
  return true;
}

std::string GetSelectedPrinterName() {
  GetDevMode();
  GlobalLockGuard<DEVMODEA> mode(g_printerSelection.devMode);
  if (!mode) return "**ERROR** Java_doc_LocalPrint_get_1printer_1name() GetLock() failed";
  // A name that fills the whole field has no terminator; it ends there.
  const char* field = reinterpret_cast<const char*>(mode->dmDeviceName);
  std::string name(field, FieldLength(field, sizeof mode->dmDeviceName));
  // A printer name longer than the field arrives cut, and a cut name opens
  // no printer. The device names hold it whole: when they name the printer
  // the field begins, that whole name is the answer.
  if (name.size() + 1 >= sizeof mode->dmDeviceName) {
    char whole[MAX_PATH] = "";
    if (DeviceNameOf(g_printerSelection.devNames, whole, sizeof whole) &&
        strncmp(whole, name.data(), name.size()) == 0) {
      return whole;
    }
  }
  return name;
}

bool DeviceNameOf(HGLOBAL devNames, char* name, size_t capacity) {
  GlobalLockGuard<DEVNAMES> names(devNames);
  if (!names) return false;
  CopyText(name, capacity, reinterpret_cast<const char*>(names.get()) + names->wDeviceOffset);
  return true;
}

void ResetPrinterSelection() { g_printerSelection = {kNeverQueried, kNeverQueried}; }

}  // namespace plenwick
