#include "machine.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/debug_log.h"
#include "device/printer_selection.h"
#include "simwin/control.h"
#include "resources/dialog_templates.h"

namespace plenwick_test {

void AddLibraryResources() { simwin::AddDialogTemplate(plenwick::CancelDialogTemplate()); }

void PresetTestRegistry() {
  const std::string key = "Software\\Plenwick\\Test";
  // String values carry their terminators, as the registry stores them.
  simwin::SetRegistryValue(HKEY_CURRENT_USER, key, "Greeting", REG_SZ,
                           std::string("Hello from the registry", 24));
  simwin::SetRegistryValue(HKEY_CURRENT_USER, key, "", REG_SZ,
                           std::string("Plenwick test key", 18));
  simwin::SetRegistryValue(HKEY_CURRENT_USER, key, "Folder", REG_EXPAND_SZ,
                           std::string("%TEMP%\\plenwick", 16));
}

void FreshMachine() {
  simwin::Reset();
  // The same cases against a driver as printer makers write them.
  const char* driver = getenv("PLENWICK_SIMULATED_DRIVER");
  if (driver && strcmp(driver, "real") == 0) simwin::AddPrinter(simwin::RealDriverPrinter("PDF"));
  AddLibraryResources();
  PresetTestRegistry();
  plenwick::ResetPrinterSelection();
  plenwick::ResetDebugLogState();
}

namespace {

void PressCancel() {
  HWND dialog = simwin::FindDialog("AbrtDlg");
  if (dialog) simwin::PressDialogButton(dialog, IDCANCEL);
}

}  // namespace

void PressCancelAtAbortCall(int nth) { simwin::BeforeAbortProcCall(nth, PressCancel); }

void PressCancelBeforeSpoolerCall(const char* call, int nth) {
  simwin::BeforeSpoolerCall(call, nth, PressCancel);
}

}  // namespace plenwick_test
