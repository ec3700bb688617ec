#include "device/job_device.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "core/fixed_text.h"
#include "core/user_notice.h"
#include "core/wide_name.h"
#include "device/paper_size_table.h"
#include "device/printer_capabilities.h"
#include "device/printer_selection.h"
#include "platform/handles.h"

namespace plenwick {
namespace {

constexpr UINT kMovableZeroed = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr DWORD kSystemMessage = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM;
constexpr DWORD kUserDefaultLanguage = 0x400;
// Form names and collation are written only to device modes newer than this.
constexpr WORD kOldSpecVersion = 0x30A;
constexpr const char kCantOpenCaption[] = "Plenwick - Can't Open Printer";

void ClearFields(DEVMODEA& mode, DWORD fields) { mode.dmFields &= ~fields; }

// The driver's device mode of printer, filled with its current settings,
// the settings that source flags carried over, and validated by the driver.
// Returns the new block, unlocked, or null when any step fails: a block that
// was not filled must never replace a working one.
HGLOBAL BuildDevMode(std::string printer, const DEVMODEA* source) {
  auto failed = [&](const char* step) -> HGLOBAL {
    DebugLog("device mode of %s not rebuilt: %s failed\n", printer.c_str(), step);
    return nullptr;
  };
  UniquePrinter handle;
  if (!OpenPrinterA(&printer[0], handle.put(), nullptr)) return failed("OpenPrinter");
  LONG size = DocumentPropertiesA(nullptr, handle.get(), &printer[0], nullptr, nullptr, 0);
  if (size <= 0) return failed("DocumentProperties size query");
  // Never smaller than the fields written into it, whatever the driver says.
  UniqueGlobal block(
      GlobalAlloc(kMovableZeroed, std::max(static_cast<size_t>(size), sizeof(DEVMODEA))));
  if (!block) return failed("GlobalAlloc");
  GlobalLockGuard<DEVMODEA> mode(block.get());
  if (!mode) return failed("GlobalLock");
  if (DocumentPropertiesA(nullptr, handle.get(), &printer[0], mode.get(), nullptr, DM_OUT_BUFFER) <
      0) {
    return failed("DocumentProperties DM_OUT_BUFFER");
  }
  if (source) MergeDevMode(*mode.get(), *source);
  if (DocumentPropertiesA(nullptr, handle.get(), &printer[0], mode.get(), mode.get(),
                          DM_IN_BUFFER | DM_OUT_BUFFER) < 0) {
    return failed("DocumentProperties DM_IN_BUFFER");
  }
  mode.unlock();
  return block.release();
}

// Moves the selection's device mode to printer, carrying the settings of the
// selected printer over. When that fails the selection stays as it was.
// True when the device mode is now printer's.
bool SwitchSelection(const std::string& printer) {
  GlobalLockGuard<DEVMODEA> selected(g_printerSelection.devMode());
  HGLOBAL rebuilt = BuildDevMode(printer, selected.get());
  selected.unlock();
  if (rebuilt) g_printerSelection.ReplaceDevMode(rebuilt);
  return rebuilt != nullptr;
}

// Gives the selection back to the previous printer, with the job's settings
// as far as MergeDevMode carries them. When the job's device mode could not
// be locked there is nothing to carry, and the previous printer gets its own
// current settings: that still repairs the selection and brings its device
// mode back in line with its device names. When the rebuild fails the
// selection keeps the job's device mode.
void RestorePreviousPrinter(const std::string& previous, GlobalLockGuard<DEVMODEA>& jobMode) {
  HGLOBAL rebuilt = BuildDevMode(previous, jobMode.get());
  if (!rebuilt) return;
  jobMode.unlock();
  g_printerSelection.ReplaceDevMode(rebuilt);
}

// The printer this file is printed on, named in the ANSI code page as the
// printer selection's device names and device modes hold it. A job without
// a printer takes the selected one and keeps its name for the files after
// it; a name too long for the job's field is not kept cut, since a cut name
// would not open, but serves this file only.
std::string DecidePrinter(PrintJob& job, const char* current) {
  if (job.printerName[0] == '\0') {
    if (!CopyText(job.printerName, current)) {
      job.printerName[0] = '\0';
      DebugLog("printer name %s is too long to keep in the job\n", current);
    }
    return current;
  }
  DebugLog("job printer=%s, cur printer=%s\n", job.printerName, current);
  return AnsiOf(job.printerName);
}

// The system's text for error, or a text of our own when it has none.
std::string ErrorText(DWORD error, const std::string& printer) {
  UniqueLocal buffer;
  DWORD length = FormatMessageA(kSystemMessage, nullptr, error, kUserDefaultLanguage,
                                reinterpret_cast<LPSTR>(buffer.put()), 0, nullptr);
  const char* text = static_cast<const char*>(buffer.get());
  if (length > 0 && text) return text;
  return "The printer " + printer + " cannot be opened (error " + std::to_string(error) + ").";
}

// Makes sure the printer can be opened. When it cannot, the user is told
// why and chooses: Retry goes on (the device context is requested anyway),
// Cancel gives up the file; without windows the answer is Cancel. True
// unless cancelled; refusal gets the box's text when the printer did not
// open.
bool CheckPrinterOpens(const PrintJob& job, std::string printer, std::string& refusal) {
  UniquePrinter check;  // only the check: closed at once
  if (OpenPrinterA(&printer[0], check.put(), nullptr)) return true;
  refusal = ErrorText(GetLastError(), printer);
  return ShowMessageBox(WindowsShown(job), refusal.c_str(), kCantOpenCaption, MB_RETRYCANCEL) !=
         IDCANCEL;
}

// Tells the user, in one line naming the printer, what became of a file
// whose printer did not open: not printed, or printed on the printer the
// device mode names (after Retry).
void TellPrinterRefused(const PrintJob& job, const std::string& printer, std::string refusal,
                        bool printed, const std::string& modePrinter) {
  // The system's text ends with a line end on Windows.
  while (!refusal.empty() && (refusal.back() == '\n' || refusal.back() == '\r')) refusal.pop_back();
  if (printed) {
    TellUser("printer %s cannot be opened (%s); %s goes to %s", printer.c_str(), refusal.c_str(),
             job.fileName, modePrinter.c_str());
  } else {
    TellNotPrinted(job.fileName, "printer %s cannot be opened (%s)", printer.c_str(),
                   refusal.c_str());
  }
}

// The job's settings in the device mode. Every configuration starts the
// flags afresh: an earlier job's value stays in its field, unflagged, until
// a job sets it again.
void WriteJobToDevMode(const PrintJob& job, DEVMODEA& mode) {
  mode.dmFields = 0;
  // Copies are always said, as the orientation is: a driver that keeps the
  // settings it was last handed would otherwise print an earlier file's.
  // dmCopies is a short: more copies than it holds are as many as it holds,
  // never a wrapped count (100000 would be 1 or none at all). A printer
  // that takes fewer cuts the count again (FitJobToPrinter).
  int32_t copies = std::clamp<int32_t>(job.copies, SHRT_MIN, SHRT_MAX);
  if (copies != job.copies) {
    DebugLog("copies=%d: a device mode holds at most %d, %d asked\n", static_cast<int>(job.copies),
             SHRT_MAX, static_cast<int>(copies));
  }
  mode.dmCopies = static_cast<short>(copies);
  mode.dmFields |= DM_COPIES;
  if (job.orientation != 0) mode.dmOrientation = job.orientation;
  mode.dmFields |= DM_ORIENTATION;
  if (job.paperSource != 0) {
    mode.dmDefaultSource = job.paperSource;
    mode.dmFields |= DM_DEFAULTSOURCE;
  }
  if (job.paperWidth != 0) {
    mode.dmPaperWidth = static_cast<short>(job.paperWidth);
    mode.dmPaperSize = DMPAPER_USER;
    mode.dmFields |= DM_PAPERSIZE | DM_PAPERWIDTH;
  }
  if (job.paperLength != 0) {
    mode.dmPaperLength = static_cast<short>(job.paperLength);
    mode.dmPaperSize = DMPAPER_USER;
    mode.dmFields |= DM_PAPERSIZE | DM_PAPERLENGTH;
  }
  // A listed paper replaces the custom size; its dimensions stay in their
  // fields, unflagged. Without a form name, a width and length of a listed
  // paper select it the same way. A paper found turned (11 in wide, 8.5 in
  // long) is that paper across: the orientation turns with it, so the page
  // keeps the shape asked for.
  const PaperSize* paper = nullptr;
  bool turned = false;
  if (job.formName[0] != '\0') {
    paper = FindPaperSizeByName(job.formName);
  } else if (job.paperWidth != 0 && job.paperLength != 0) {
    paper = FindPaperSizeByDimensions(job.paperWidth, job.paperLength, &turned);
  }
  if (turned) {
    mode.dmOrientation =
        mode.dmOrientation == DMORIENT_LANDSCAPE ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
  }
  if (paper) {
    mode.dmPaperSize = paper->code;
    ClearFields(mode, DM_PAPERLENGTH | DM_PAPERWIDTH);
    mode.dmFields |= DM_PAPERSIZE;
  }
  if (mode.dmSpecVersion > kOldSpecVersion) {
    if (job.formName[0] != '\0') {
      char* formName = reinterpret_cast<char*>(mode.dmFormName);
      if (!CopyText(formName, sizeof mode.dmFormName, job.formName)) {
        DebugLog("form name %s cut to %s in the device mode\n", job.formName, formName);
      }
      mode.dmFields |= DM_FORMNAME;
    }
    mode.dmCollate = job.collate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    mode.dmFields |= DM_COLLATE;
  }
}

// The device mode's driver part (dmDriverExtra bytes after dmSize) in line
// with the job's fields: the driver takes the mode and gives it back
// merged. When it refuses, the mode stays as the job wrote it.
void SettleDevMode(std::string printer, DEVMODEA& mode) {
  // The block holds what the driver filled it with.
  size_t room = static_cast<size_t>(mode.dmSize) + mode.dmDriverExtra;
  auto refused = [&](const char* step) {
    DebugLog("device mode of %s not merged by its driver: %s failed; the job's fields are used\n",
             printer.c_str(), step);
  };
  UniquePrinter handle;
  if (!OpenPrinterA(&printer[0], handle.put(), nullptr)) return refused("OpenPrinter");
  LONG size = DocumentPropertiesA(nullptr, handle.get(), &printer[0], nullptr, nullptr, 0);
  if (size <= 0 || static_cast<size_t>(size) > room) return refused("DocumentProperties size");
  std::vector<unsigned char> merged(static_cast<size_t>(size));
  auto* output = reinterpret_cast<DEVMODEA*>(merged.data());
  if (DocumentPropertiesA(nullptr, handle.get(), &printer[0], output, &mode,
                          DM_IN_BUFFER | DM_OUT_BUFFER) < 0) {
    return refused("DocumentProperties DM_IN_BUFFER");
  }
  memcpy(&mode, merged.data(), merged.size());
}

// The printer device context on the printer that the device mode names;
// without a device mode, neither a device name nor initialisation data.
HDC CreateDeviceContext(const DEVMODEA* mode, const std::string& modePrinter) {
  std::string device;
  // modePrinter is the printer the configuration knows the mode belongs to.
  if (mode) device = PrinterSelection::DevModePrinter(*mode, modePrinter);
  HDC dc = CreateDCA("WINSPOOL", mode ? device.c_str() : nullptr, nullptr, mode);
  DebugLog("CreateDC returned %d given a DevMode = %x\n",
           static_cast<int>(reinterpret_cast<intptr_t>(dc)),
           static_cast<unsigned>(reinterpret_cast<uintptr_t>(mode)));
  return dc;
}

// A report going to a file needs no printer where the platform can write
// the file itself (the Linux platform's PDF): a device context without a
// device name, for the paper the job names. Windows has none such, and its
// refusal is told as no printer.
bool ConfigureFileDevice(PrintJob& job, UniqueDC& deviceContext) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmSpecVersion = DM_SPECVERSION;
  WriteJobToDevMode(job, mode);
  deviceContext.reset(CreateDCA("WINSPOOL", nullptr, nullptr, &mode));
  if (deviceContext) return true;
  DebugLog("no printer and no device context for a file: %s not printed\n", job.fileName);
  TellNotPrinted(job.fileName, "no printer is installed or reachable");
  return false;
}

}  // namespace

bool ConfigureJobDevice(PrintJob& job, UniqueDC& deviceContext) {
  deviceContext.reset();
  bool selected = GetDevMode();
  if (!selected && !job.output.empty()) return ConfigureFileDevice(job, deviceContext);
  if (!selected) {
    ShowMessageBox(WindowsShown(job), "plenwick", "Plenwick - Can't Get DEVMODE", MB_OK);
    DebugLog("no printer selection: %s not printed\n", job.fileName);
    TellNotPrinted(job.fileName, "no printer is installed or reachable");
    return false;
  }
  // Windows printer names are far shorter than MAX_PATH.
  char current[MAX_PATH] = "";
  g_printerSelection.CurrentPrinter(current, sizeof current);
  std::string printer = DecidePrinter(job, current);
  // Names that differ only in letter case are different printers here.
  std::string previous;
  std::string modePrinter = current;  // whose device mode the selection holds
  if (printer != current) {
    // Remembered before the switch is tried, so that the selection goes
    // back to this printer even when the switch fails.
    previous = current;
    if (SwitchSelection(printer)) modePrinter = printer;
  }

  std::string refusal;
  bool printable = CheckPrinterOpens(job, printer, refusal);
  GlobalLockGuard<DEVMODEA> mode(g_printerSelection.devMode());
  if (printable) {
    if (mode) {
      WriteJobToDevMode(job, *mode.get());
      FitJobToPrinter(job, modePrinter, *mode.get());
      SettleDevMode(modePrinter, *mode.get());
    } else {
      DebugLog("device mode of the selection cannot be locked\n");
    }
    deviceContext.reset(CreateDeviceContext(mode.get(), modePrinter));
  } else {
    DebugLog("printer %s cannot be opened, cancelled: %s not printed\n", printer.c_str(),
             job.fileName);
  }
  bool made = static_cast<bool>(deviceContext);
  if (!refusal.empty()) {
    TellPrinterRefused(job, printer, refusal, made, modePrinter);
  } else if (!made) {
    TellNotPrinted(job.fileName, "no device context for printer %s", modePrinter.c_str());
  }
  if (!previous.empty()) RestorePreviousPrinter(previous, mode);
  return made;
}

void MergeDevMode(DEVMODEA& dest, const DEVMODEA& source) {
  auto carry = [&](DWORD flag, short DEVMODEA::*field) {
    if (!(source.dmFields & flag)) return;
    dest.*field = source.*field;
    dest.dmFields |= flag;
  };
  carry(DM_ORIENTATION, &DEVMODEA::dmOrientation);
  if (source.dmFields & DM_PAPERSIZE) {
    // A paper code stands for the whole paper: dimensions and a form name
    // that the destination had would contradict it.
    carry(DM_PAPERSIZE, &DEVMODEA::dmPaperSize);
    ClearFields(dest, DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME);
  } else {
    carry(DM_PAPERLENGTH, &DEVMODEA::dmPaperLength);
    carry(DM_PAPERWIDTH, &DEVMODEA::dmPaperWidth);
  }
  carry(DM_SCALE, &DEVMODEA::dmScale);
  carry(DM_COPIES, &DEVMODEA::dmCopies);
  carry(DM_COLLATE, &DEVMODEA::dmCollate);
}

}  // namespace plenwick
