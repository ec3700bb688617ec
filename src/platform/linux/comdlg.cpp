// The print dialog. Asked for the default printer, it answers the default
// destination's device mode and names. As Print Setup it shows the dialog
// program's setup dialog when there is a display: the queues of the print
// server in use, the chosen one's papers and the orientation. Without a
// display (or the program) the dialog is reported as cancelled, so the
// selection stays as it was.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/ascii.h"
#include "platform/linux/desktop/dialog_program.h"
#include "platform/linux/devmode.h"
#include "platform/winapi/common.h"

namespace {

constexpr char kDriverName[] = "CUPS";

// The destination's names, its URI as the port.
HGLOBAL NewDevNames(linux_platform::Destination& destination) {
  const char* uri = destination.DeviceUri();
  return winapi::NewDevNamesBlock(kDriverName, destination.name(), uri ? uri : destination.name());
}

// The destination's defaults, with the paper and orientation given (0 for
// the destination's own).
HGLOBAL NewDevMode(linux_platform::Destination& destination, int paper = 0, int orientation = 0) {
  DEVMODEA mode;
  linux_platform::FillDefaults(destination, mode);
  if (paper != 0 || orientation != 0) {
    DEVMODEA chosen;
    memset(&chosen, 0, sizeof chosen);
    chosen.dmFields = (paper != 0 ? DM_PAPERSIZE : 0) | (orientation != 0 ? DM_ORIENTATION : 0);
    chosen.dmPaperSize = static_cast<short>(paper);
    chosen.dmOrientation = static_cast<short>(orientation);
    linux_platform::MergeFlaggedFields(mode, chosen);
  }
  return winapi::NewDevModeBlock(mode);
}

// Fills the record's blocks for the destination; false (and no block) when
// a block could not be had.
bool FillRecord(LPPRINTDLGA record, linux_platform::Destination& destination, int paper = 0,
                int orientation = 0) {
  record->hDevMode = NewDevMode(destination, paper, orientation);
  record->hDevNames = NewDevNames(destination);
  if (record->hDevMode && record->hDevNames) return true;
  record->hDevMode = GlobalFree(record->hDevMode);
  record->hDevNames = GlobalFree(record->hDevNames);
  return false;
}

// What the selection the dialog opens on holds.
struct Selection {
  std::string printer;
  int paper = 0;
  int orientation = DMORIENT_PORTRAIT;
};

Selection SelectionOf(const PRINTDLGA& record) {
  Selection selection;
  plenwick::GlobalLockGuard<DEVNAMES> names(record.hDevNames);
  if (names) selection.printer = reinterpret_cast<const char*>(names.get()) + names->wDeviceOffset;
  plenwick::GlobalLockGuard<DEVMODEA> mode(record.hDevMode);
  if (mode) {
    const char* field = reinterpret_cast<const char*>(mode->dmDeviceName);
    if (selection.printer.empty()) {
      selection.printer.assign(field, strnlen(field, sizeof mode->dmDeviceName));
    }
    selection.paper = linux_platform::FirstPaperOfMedia(mode->dmPaperSize);
    if (mode->dmOrientation == DMORIENT_LANDSCAPE) selection.orientation = DMORIENT_LANDSCAPE;
  }
  return selection;
}

// Tells the program the queues, each one's papers and the selection.
bool SendChoices(linux_platform::DialogProgram& program, const Selection& selection) {
  bool sent = true;
  for (const linux_platform::DestinationEntry& entry : linux_platform::ListDestinations()) {
    sent = sent && program.Send({"printer", entry.name, entry.description});
    std::shared_ptr<linux_platform::Destination> destination =
        linux_platform::Destination::Find(entry.name);
    if (!destination) continue;
    for (int paper : linux_platform::PapersOf(*destination)) {
      std::string name = linux_platform::FormNameOfPaper(paper);
      if (name.empty()) name = linux_platform::MediaNameOfPaper(paper);
      sent = sent && program.Send({"paper", entry.name, std::to_string(paper), name});
    }
  }
  return sent &&
         program.Send({"selected", selection.printer, std::to_string(selection.paper),
                       std::to_string(selection.orientation)}) &&
         program.Send({"show"});
}

// Print Setup: true when the user chose OK, with the record's blocks
// replaced by the chosen printer's.
BOOL ShowPrintSetup(LPPRINTDLGA record) {
  std::unique_ptr<linux_platform::DialogProgram> program =
      linux_platform::DialogProgram::Start("setup");
  if (!program || !SendChoices(*program, SelectionOf(*record))) return FALSE;
  std::vector<std::string> answer;
  // The dialog waits for its user, as long as that takes.
  while (program->Receive(answer, -1)) {
    if (answer[0] == "cancel") return FALSE;
    if (answer[0] != "ok" || answer.size() < 4) continue;
    std::shared_ptr<linux_platform::Destination> chosen =
        linux_platform::Destination::Find(answer[1]);
    if (!chosen) return FALSE;  // gone since it was listed
    HGLOBAL oldMode = record->hDevMode, oldNames = record->hDevNames;
    if (!FillRecord(record, *chosen, plenwick::LeadingInt(answer[2].c_str()),
                    plenwick::LeadingInt(answer[3].c_str()))) {
      record->hDevMode = oldMode;
      record->hDevNames = oldNames;
      return FALSE;
    }
    // The blocks handed in are replaced, as the dialog on Windows does.
    GlobalFree(oldMode);
    GlobalFree(oldNames);
    return TRUE;
  }
  return FALSE;  // the program ended without an answer
}

}  // namespace

BOOL PrintDlgA(LPPRINTDLGA record) {
  if (!record) return FALSE;
  if (record->Flags & PD_RETURNDEFAULT) {
    std::shared_ptr<linux_platform::Destination> destination =
        linux_platform::Destination::Find("");
    return destination && FillRecord(record, *destination);
  }
  if (record->Flags & PD_PRINTSETUP) return ShowPrintSetup(record);
  return FALSE;  // no print dialog proper: cancelled
}
