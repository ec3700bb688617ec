#include "device/printer_capabilities.h"

#include <algorithm>
#include <cstring>

#include "core/debug_log.h"
#include "core/user_notice.h"
#include "device/paper_size_table.h"
#include "platform/ascii.h"

namespace plenwick {
namespace {

// A driver's paper names are 64 characters each, terminated when shorter.
constexpr int kPaperNameLength = 64;
// More entries than any printer lists: a larger count is a driver's error.
constexpr int kMostEntries = 1024;

int g_scopes = 0;
std::vector<PrinterCapabilities> g_known;

// The printer's answer to one capability: a number, or the count of a
// list's entries; -1 when it cannot say.
int AskCapability(const std::string& printer, WORD capability, LPSTR output) {
  return DeviceCapabilitiesA(printer.c_str(), nullptr, capability, output, nullptr);
}

// The count of a list the printer gives, or 0.
int ListLength(const std::string& printer, WORD capability) {
  int count = AskCapability(printer, capability, nullptr);
  return count > 0 && count <= kMostEntries ? count : 0;
}

std::vector<WORD> AskWordList(const std::string& printer, WORD capability) {
  std::vector<WORD> list(static_cast<size_t>(ListLength(printer, capability)));
  if (list.empty()) return list;
  int count = AskCapability(printer, capability, reinterpret_cast<LPSTR>(list.data()));
  list.resize(static_cast<size_t>(std::clamp(count, 0, static_cast<int>(list.size()))));
  return list;
}

std::vector<std::string> AskPaperNames(const std::string& printer) {
  int length = ListLength(printer, DC_PAPERNAMES);
  std::vector<char> names(static_cast<size_t>(length) * kPaperNameLength);
  std::vector<std::string> list;
  if (length == 0) return list;
  int count = std::clamp(AskCapability(printer, DC_PAPERNAMES, names.data()), 0, length);
  for (int i = 0; i < count; ++i) {
    const char* name = names.data() + static_cast<size_t>(i) * kPaperNameLength;
    list.emplace_back(name, strnlen(name, kPaperNameLength));
  }
  return list;
}

PrinterCapabilities AskCapabilities(const std::string& printer) {
  PrinterCapabilities answers;
  answers.printer = printer;
  answers.maxCopies = AskCapability(printer, DC_COPIES, nullptr);
  answers.bins = AskWordList(printer, DC_BINS);
  answers.papers = AskWordList(printer, DC_PAPERS);
  answers.paperNames = AskPaperNames(printer);
  answers.collates = AskCapability(printer, DC_COLLATE, nullptr);
  DebugLog("%s takes at most %d copies, %d bins, %d papers, %d paper names, collates %d\n",
           printer.c_str(), answers.maxCopies, static_cast<int>(answers.bins.size()),
           static_cast<int>(answers.papers.size()), static_cast<int>(answers.paperNames.size()),
           answers.collates);
  return answers;
}

template <typename Entry>
bool Lists(const std::vector<Entry>& list, const Entry& entry) {
  return std::find(list.begin(), list.end(), entry) != list.end();
}

// The paper a device mode names, by the job's form name or the table's.
std::string PaperName(const PrintJob& job, const DEVMODEA& mode) {
  if (job.formName[0] != '\0') return job.formName;
  for (const PaperSize* row = PaperSizeTable; row->name; ++row) {
    if (row->code == mode.dmPaperSize) return row->name;
  }
  return std::to_string(mode.dmPaperSize);
}

// Whether the printer takes the paper: by its code or by its name. A
// printer that lists neither is not asked.
bool TakesPaper(const PrinterCapabilities& can, const std::string& name, short code) {
  if (can.papers.empty() && can.paperNames.empty()) return true;
  if (Lists(can.papers, static_cast<WORD>(code))) return true;
  return std::any_of(can.paperNames.begin(), can.paperNames.end(), [&](const std::string& listed) {
    return EqualsIgnoreCase(listed.c_str(), name.c_str());
  });
}

void FitCopies(const PrinterCapabilities& can, DEVMODEA& mode) {
  if (can.maxCopies <= 0 || mode.dmCopies <= can.maxCopies) return;
  DebugLog("%s prints at most %d copies; %d asked\n", can.printer.c_str(), can.maxCopies,
           mode.dmCopies);
  TellUser("%s prints at most %d cop%s; %d asked", can.printer.c_str(), can.maxCopies,
           can.maxCopies == 1 ? "y" : "ies", mode.dmCopies);
  mode.dmCopies = static_cast<short>(can.maxCopies);
}

void FitBin(const PrinterCapabilities& can, DEVMODEA& mode) {
  if (!(mode.dmFields & DM_DEFAULTSOURCE) || can.bins.empty()) return;
  if (Lists(can.bins, static_cast<WORD>(mode.dmDefaultSource))) return;
  DebugLog("%s has no bin %d: its own bin is used\n", can.printer.c_str(), mode.dmDefaultSource);
  TellUser("%s has no paper bin %d; printed from its default bin", can.printer.c_str(),
           mode.dmDefaultSource);
  mode.dmFields &= ~static_cast<DWORD>(DM_DEFAULTSOURCE);
}

void FitPaper(const PrintJob& job, const PrinterCapabilities& can, DEVMODEA& mode) {
  if (!(mode.dmFields & DM_PAPERSIZE) || mode.dmPaperSize == DMPAPER_USER) return;
  std::string name = PaperName(job, mode);
  if (TakesPaper(can, name, mode.dmPaperSize)) return;
  DebugLog("%s has no paper %s (%d): its own paper is used\n", can.printer.c_str(), name.c_str(),
           mode.dmPaperSize);
  TellUser("%s has no paper %s; printed on its default paper", can.printer.c_str(), name.c_str());
  mode.dmFields &= ~static_cast<DWORD>(DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH | DM_FORMNAME);
}

void FitCollation(const PrintJob& job, const PrinterCapabilities& can, DEVMODEA& mode) {
  if (!job.collate || can.collates != 0) return;
  DebugLog("%s does not collate\n", can.printer.c_str());
  TellUser("%s does not collate; copies printed uncollated", can.printer.c_str());
  mode.dmCollate = DMCOLLATE_FALSE;
  mode.dmFields &= ~static_cast<DWORD>(DM_COLLATE);
}

}  // namespace

CapabilitiesScope::CapabilitiesScope() {
  if (g_scopes++ == 0) g_known.clear();
}

CapabilitiesScope::~CapabilitiesScope() {
  if (--g_scopes == 0) g_known.clear();
}

const PrinterCapabilities& CapabilitiesOf(const std::string& printer) {
  if (g_scopes == 0) g_known.clear();
  for (const PrinterCapabilities& known : g_known) {
    if (known.printer == printer) return known;
  }
  g_known.push_back(AskCapabilities(printer));
  return g_known.back();
}

void FitJobToPrinter(const PrintJob& job, const std::string& printer, DEVMODEA& mode) {
  const PrinterCapabilities& can = CapabilitiesOf(printer);
  FitCopies(can, mode);
  FitBin(can, mode);
  FitPaper(job, can, mode);
  FitCollation(job, can, mode);
}

}  // namespace plenwick
