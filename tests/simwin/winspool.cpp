#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "internal.h"

namespace {

struct OpenPrinter {
  std::string name;  // the printer's own spelling
};
simwin::HandleTable<OpenPrinter> g_open(simwin::HandleKind::kPrinter);
std::vector<simwin::OpenPrinterCall> g_openCalls;
std::vector<simwin::DocumentPropertiesCall> g_propertiesCalls;
size_t g_capabilityCalls = 0;
struct OpenFailure {
  std::string name;
  DWORD error;
};
std::vector<OpenFailure> g_failOpen;
bool g_failNextSizeQuery = false;

// The error that the next open of the printer fails with, or 0.
DWORD TakeFailure(const std::string& name) {
  auto it = std::find_if(g_failOpen.begin(), g_failOpen.end(),
                         [&](const OpenFailure& failure) { return failure.name == name; });
  if (it == g_failOpen.end()) return 0;
  DWORD error = it->error;
  g_failOpen.erase(it);
  return error;
}

// What a driver keeps of the settings a device mode flags.
void TakeFlaggedSettings(DEVMODEA& to, const DEVMODEA& from) {
  auto take = [&](DWORD flag, short DEVMODEA::*field) {
    if (!(from.dmFields & flag)) return;
    to.*field = from.*field;
    to.dmFields |= flag;
  };
  // An orientation no printer has is not taken: the current one stays.
  if (from.dmOrientation == DMORIENT_PORTRAIT || from.dmOrientation == DMORIENT_LANDSCAPE) {
    take(DM_ORIENTATION, &DEVMODEA::dmOrientation);
  }
  take(DM_PAPERSIZE, &DEVMODEA::dmPaperSize);
  take(DM_PAPERLENGTH, &DEVMODEA::dmPaperLength);
  take(DM_PAPERWIDTH, &DEVMODEA::dmPaperWidth);
  take(DM_SCALE, &DEVMODEA::dmScale);
  take(DM_COPIES, &DEVMODEA::dmCopies);
  take(DM_DEFAULTSOURCE, &DEVMODEA::dmDefaultSource);
  take(DM_COLLATE, &DEVMODEA::dmCollate);
  if (from.dmFields & DM_FORMNAME) {
    memcpy(to.dmFormName, from.dmFormName, sizeof to.dmFormName);
    to.dmFields |= DM_FORMNAME;
  }
}

LONG Answer(const simwin::PrinterSpec* spec, PDEVMODEA output, PDEVMODEA input, DWORD mode) {
  if (!spec) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  if (mode == 0) {
    if (std::exchange(g_failNextSizeQuery, false)) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return -1;
    }
    return static_cast<LONG>(simwin::detail::DeviceModeSize(*spec));
  }
  if (!(mode & DM_OUT_BUFFER)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  // Nothing to fill: the answer is the size, as for mode 0.
  if (!output) return static_cast<LONG>(simwin::detail::DeviceModeSize(*spec));
  // Built aside first: input and output may be the same block.
  std::vector<unsigned char> result(simwin::detail::DeviceModeSize(*spec));
  auto* settings = reinterpret_cast<DEVMODEA*>(result.data());
  simwin::detail::FillDeviceMode(*spec, settings);
  if ((mode & DM_IN_BUFFER) && input) TakeFlaggedSettings(*settings, *input);
  simwin::detail::SyncPrivatePart(*spec, settings);
  memcpy(output, result.data(), result.size());
  return IDOK;
}

}  // namespace

BOOL OpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
  simwin::OpenPrinterCall call{name ? name : "(null)", defaults != nullptr, FALSE};
  const simwin::PrinterSpec* spec = name ? simwin::detail::FindPrinterIgnoringCase(name) : nullptr;
  *printer = nullptr;
  DWORD failure = spec ? TakeFailure(spec->name) : 0;
  if (!spec || !spec->canOpen || failure) {
    SetLastError(failure ? failure : ERROR_INVALID_PRINTER_NAME);
  } else {
    *printer = g_open.Add<HANDLE>(std::make_unique<OpenPrinter>(OpenPrinter{spec->name}));
    call.result = TRUE;
  }
  g_openCalls.push_back(call);
  return call.result;
}

BOOL ClosePrinter(HANDLE printer) {
  if (!g_open.Remove(printer)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

// Its printers are in this process: nothing to keep between lookups.
void BeginPrinterSession() {}
void EndPrinterSession() {}

LONG DocumentPropertiesA(HWND, HANDLE printer, LPSTR deviceName, PDEVMODEA output, PDEVMODEA input,
                         DWORD mode) {
  simwin::DocumentPropertiesCall call{deviceName ? deviceName : "(null)", mode, input != nullptr,
                                      DEVMODEA{}, -1};
  if (input) call.input = *input;
  const OpenPrinter* open = g_open.Find(printer);
  call.result =
      Answer(open ? simwin::detail::FindPrinter(open->name) : nullptr, output, input, mode);
  g_propertiesCalls.push_back(call);
  return call.result;
}

int DeviceCapabilitiesA(LPCSTR device, LPCSTR, WORD capability, LPSTR output, const DEVMODEA*) {
  ++g_capabilityCalls;
  const simwin::PrinterSpec* spec =
      device ? simwin::detail::FindPrinterIgnoringCase(device) : nullptr;
  if (!spec) return -1;
  if (capability == DC_COPIES) return spec->maxCopies;
  if (capability == DC_COLLATE) return spec->collates;
  if (capability == DC_BINS || capability == DC_PAPERS) {
    const std::vector<WORD>& list = capability == DC_BINS ? spec->bins : spec->papers;
    if (output) memcpy(output, list.data(), list.size() * sizeof(WORD));
    return static_cast<int>(list.size());
  }
  if (capability != DC_PAPERNAMES) return -1;
  for (size_t i = 0; output && i < spec->paperNames.size(); ++i) {
    snprintf(output + 64 * i, 64, "%s", spec->paperNames[i].c_str());
  }
  return static_cast<int>(spec->paperNames.size());
}

namespace simwin {

size_t DeviceCapabilitiesCallCount() { return g_capabilityCalls; }
const std::vector<OpenPrinterCall>& OpenPrinterCalls() { return g_openCalls; }
const std::vector<DocumentPropertiesCall>& DocumentPropertiesCalls() { return g_propertiesCalls; }
void FailNextOpenPrinter(const std::string& name, DWORD error) {
  g_failOpen.push_back({name, error});
}
void FailNextSizeQuery() { g_failNextSizeQuery = true; }

namespace detail {

size_t OpenPrinterCount() { return g_open.Count(); }

void ResetWinspool() {
  g_open.Clear();
  g_openCalls.clear();
  g_propertiesCalls.clear();
  g_capabilityCalls = 0;
  g_failOpen.clear();
  g_failNextSizeQuery = false;
}

}  // namespace detail

}  // namespace simwin
