#include "options/option_table.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace plenwick {

OptionEntry OptionTable[kOptionCount] = {
    {kOptConfig, "config",
     "name of configuration file to use - the configuration file can provide additional options"},
    {kOptMode, "mode",
     "print mode - valid choices are KEEP, HOLD, and SPOOL, currently ignored and defaults to "
     "'SPOOL'"},
    {kOptDisposition, "disposition",
     "disposition of print file after printing, valid choices are SCRATCH and SAVE, defaults to "
     "SAVE"},
    {kOptCopies, "copies", "number of copies to print - not supported by some printer drivers"},
    {kOptNotify, "notify",
     "if present, notify user when report has completed printing - not currently supported"},
    {kOptFormat, "format", "format of print file - not currently supported"},
    {kOptBanner, "banner", "if present, print a banner page (not currently supported)"},
    {kOptPriority, "priority", "priority of report - not currently supported"},
    {kOptDate, "date", "date/time to print report - not currently supported"},
    {kOptUser, "user", "User Name (ignored)"},
    {kOptPrinterName, "printer_name", "Quen Printer Name (ignored)"},
    {kOptPrinterId, "printer_id", "Windows Printer Name"},
    {kOptPrinterCtl, "printer_ctl", "list of printer-related options"},
    {kOptFormName, "form_name", "Quen Form Name (ignored)"},
    {kOptFormId, "form_id", "Windows Form Name"},
    {kOptFormCtl, "form_ctl", "list of form-related options"},
    {kOptOrientation, "orientation",
     "report orientation, valid choices are Portrait and Landscape"},
    {kOptCollate, "collate",
     "if present, multiple copies are collated - not supported by most printer drivers"},
    {kOptPitch, "pitch", "pitch to use to print report"},
    {kOptPoint, "point", "point to use to print report"},
    {kOptFont, "font", "name of font to use to print report"},
    {kOptRuler, "ruler", "if present, print a ruler on each page"},
    {kOptWidth, "width",
     "width of form - use 'i' or 'm' as a suffix to indicate inches or millimeters (eg. 8.5i or "
     "23m)"},
    // The length row has always carried the width row's text.
    {kOptLength, "length",
     "width of form - use 'i' or 'm' as a suffix to indicate inches or millimeters (eg. 8.5i or "
     "23m)"},
    {kOptInteractive, "interactive",
     "if present, show printer setup dialog to user, if '=none', suppress any windows for network "
     "printing"},
    {kOptSource, "source", "paper source (not supported by many printer drivers)"},
    {kOptLog, "log", "provides the name of a debugging log file"},
    {kOptOem, "oem", "if present, translate characters to OEM character set"},
    {kOptAnsi, "ansi", "if present, translate characters to ANSI character set"},
    {kOptRaw, "raw",
     "pass report to printer without translation, allows you to embed 'escape' codes in your "
     "report file"},
    {kOptOutput, "output",
     "write the reports after it to this PDF file instead of the printer; a name ending in / is a "
     "folder, one PDF per report named after it",
     true},
    {kOptTabs, "tabs", "tab stops every N columns (default 8); 1 prints a tab as one blank", true},
};

const PaperSource PaperSourceTable[kPaperSourceCount] = {
    {1, "Upper"},          {2, "Lower"},           {3, "Middle"},          {4, "Manual"},
    {5, "Envelope"},       {6, "Manual Envelope"}, {7, "Automatic"},       {8, "Tractor"},
    {9, "Small format"},   {10, "Large format"},   {11, "Large capacity"}, {14, "Paper cassette"},
    {256, "User defined"},
};

void SortOptionTable() {
  std::sort(std::begin(OptionTable), std::end(OptionTable),
            [](const OptionEntry& a, const OptionEntry& b) { return strcmp(a.name, b.name) < 0; });
}

const OptionEntry* FindOption(const char* text) {
  size_t textLength = strlen(text);
  if (textLength == 0) return nullptr;
  // The rows an abbreviation may name, in table order: the binary search
  // probes them as it always has, whatever rows were added since.
  const OptionEntry* rows[kOptionCount];
  int count = 0;
  for (const OptionEntry& entry : OptionTable) {
    size_t nameLength = strlen(entry.name);
    if (!entry.wholeNameOnly) {
      rows[count++] = &entry;
    } else if (textLength >= nameLength && strncmp(text, entry.name, nameLength) == 0) {
      return &entry;
    }
  }
  int low = 0;
  int high = count - 1;
  while (low <= high) {
    int middle = low + (high - low) / 2;
    const OptionEntry& entry = *rows[middle];
    // Compared over the shorter of the two, so a name followed by "=value"
    // matches, and so does an abbreviation of a name without a value.
    int order = strncmp(text, entry.name, std::min(textLength, strlen(entry.name)));
    if (order == 0) return &entry;
    if (order < 0) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  }
  return nullptr;
}

}  // namespace plenwick
