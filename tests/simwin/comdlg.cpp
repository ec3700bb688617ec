#include <algorithm>
#include <cstring>

#include "internal.h"
#include "platform/ascii.h"
#include "platform/winapi/common.h"

namespace {

// A fresh machine has one printer, "PDF", as the default printer.
std::vector<simwin::PrinterSpec> g_printers{simwin::PrinterSpec{}};
std::string g_defaultPrinter = "PDF";
std::vector<std::string> g_setupScript;
std::vector<simwin::PrintDlgCall> g_printDlgCalls;

HGLOBAL NewDeviceModeBlock(const simwin::PrinterSpec& spec) {
  // The device mode and its driver's extra bytes, as one block.
  std::vector<unsigned char> bytes(simwin::detail::DeviceModeSize(spec));
  auto* mode = reinterpret_cast<DEVMODEA*>(bytes.data());
  simwin::detail::FillDeviceMode(spec, mode);
  return winapi::NewDevModeBlock(*mode);
}

HGLOBAL NewDeviceNamesBlock(const simwin::PrinterSpec& spec) {
  return winapi::NewDevNamesBlock(spec.driver, spec.name, spec.port);
}

}  // namespace

BOOL PrintDlgA(LPPRINTDLGA record) {
  simwin::PrintDlgCall call{record->lStructSize, record->Flags,     record->hwndOwner,
                            record->hDevMode,    record->hDevNames, FALSE};
  const simwin::PrinterSpec* chosen = nullptr;
  if (record->Flags & PD_RETURNDEFAULT) {
    chosen = simwin::detail::FindPrinter(g_defaultPrinter);
  } else if (!g_setupScript.empty()) {
    chosen = simwin::detail::FindPrinter(g_setupScript.front());
    g_setupScript.erase(g_setupScript.begin());
  }
  if (chosen) {
    // The dialog hands back new blocks and frees the ones it was given.
    if (record->hDevMode) GlobalFree(record->hDevMode);
    if (record->hDevNames) GlobalFree(record->hDevNames);
    record->hDevMode = NewDeviceModeBlock(*chosen);
    record->hDevNames = NewDeviceNamesBlock(*chosen);
    call.result = TRUE;
  }
  g_printDlgCalls.push_back(call);
  return call.result;
}

namespace simwin {

void AddPrinter(const PrinterSpec& spec) {
  for (auto& printer : g_printers) {
    if (printer.name == spec.name) {
      printer = spec;
      return;
    }
  }
  g_printers.push_back(spec);
}

void SetDefaultPrinter(const std::string& name) { g_defaultPrinter = name; }

void RemoveAllPrinters() {
  g_printers.clear();
  g_defaultPrinter.clear();
}

void ScriptPrintSetup(const std::string& printerName) { g_setupScript.push_back(printerName); }

const std::vector<PrintDlgCall>& PrintDlgCalls() { return g_printDlgCalls; }

namespace detail {

const PrinterSpec* FindPrinter(const std::string& name) {
  for (const auto& printer : g_printers) {
    if (printer.name == name) return &printer;
  }
  return nullptr;
}

const PrinterSpec* FindPrinterIgnoringCase(const std::string& name) {
  for (const auto& printer : g_printers) {
    if (plenwick::EqualsIgnoreCase(printer.name.c_str(), name.c_str())) return &printer;
  }
  return nullptr;
}

size_t DeviceModeSize(const PrinterSpec& spec) { return sizeof(DEVMODEA) + spec.driverExtra; }

void FillDeviceMode(const PrinterSpec& spec, DEVMODEA* mode) {
  memset(mode, 0, DeviceModeSize(spec));
  // A name of 32 characters or more fills the field without a terminator.
  memcpy(mode->dmDeviceName, spec.name.c_str(), std::min<size_t>(spec.name.size(), CCHDEVICENAME));
  mode->dmSpecVersion = spec.specVersion;
  mode->dmDriverVersion = 1;
  mode->dmSize = sizeof(DEVMODEA);
  mode->dmDriverExtra = spec.driverExtra;
  mode->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_COLLATE;
  mode->dmOrientation = DMORIENT_PORTRAIT;
  mode->dmPaperSize = DMPAPER_A4;
  mode->dmScale = 100;
  mode->dmCopies = 1;
  mode->dmDefaultSource = 7;
  mode->dmCollate = DMCOLLATE_FALSE;
  strcpy(reinterpret_cast<char*>(mode->dmFormName), "A4");
  mode->dmLogPixels = static_cast<WORD>(spec.dpiY);
  SyncPrivatePart(spec, mode);
}

// A driver's private part: its own paper, orientation and copies, first
// of its extra bytes; null when the driver or the mode has none.
DriverSettings* PrivatePart(const PrinterSpec& spec, const DEVMODEA* mode) {
  if (!spec.privatePart || mode->dmDriverExtra < sizeof(DriverSettings)) return nullptr;
  return reinterpret_cast<DriverSettings*>(reinterpret_cast<uintptr_t>(mode) + mode->dmSize);
}

void SyncPrivatePart(const PrinterSpec& spec, DEVMODEA* mode) {
  DriverSettings* own = PrivatePart(spec, mode);
  if (own) *own = {mode->dmPaperSize, mode->dmOrientation, mode->dmCopies};
}

DriverSettings SettingsOfMode(const PrinterSpec& spec, const DEVMODEA* mode) {
  if (!mode) return {DMPAPER_A4, DMORIENT_PORTRAIT, 1};
  if (const DriverSettings* own = PrivatePart(spec, mode)) return *own;
  short orientation = mode->dmFields & DM_ORIENTATION ? mode->dmOrientation : DMORIENT_PORTRAIT;
  return {mode->dmPaperSize, orientation, mode->dmCopies};
}

void ClearPrintDlgCalls() { g_printDlgCalls.clear(); }

void ResetPrinters() {
  g_printers.clear();
  g_printers.push_back(PrinterSpec{});
  g_defaultPrinter = "PDF";
  g_setupScript.clear();
  g_printDlgCalls.clear();
}

}  // namespace detail

PrinterSpec RealDriverPrinter(const std::string& name) {
  PrinterSpec spec;
  spec.name = name, spec.driver = "maker.drv", spec.specVersion = 0x401, spec.driverExtra = 64;
  spec.privatePart = true, spec.maxCopies = 1, spec.bins = {DMBIN_UPPER, DMBIN_LOWER};
  spec.papers = {DMPAPER_A4, DMPAPER_LETTER, DMPAPER_LEGAL, DMPAPER_A3};
  spec.paperNames = {"A4", "Letter", "Legal", "A3"};
  return spec;
}

}  // namespace simwin
