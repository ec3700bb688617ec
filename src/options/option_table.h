// The options of a print request and the paper bins that `source` names.
#pragma once

#include <cstdint>

namespace plenwick {

enum OptionCode : int32_t {
  kOptConfig = 0,
  kOptMode,
  kOptDisposition,
  kOptCopies,
  kOptNotify,
  kOptFormat,
  kOptBanner,
  kOptPriority,
  kOptDate,
  kOptUser,
  kOptPrinterName,
  kOptPrinterId,
  kOptPrinterCtl,
  kOptFormName,
  kOptFormId,
  kOptFormCtl,
  kOptOrientation,
  kOptCollate,
  kOptPitch,
  kOptPoint,
  kOptFont,
  kOptRuler,
  kOptWidth,
  kOptLength,
  kOptInteractive,
  kOptSource,
  kOptLog,
  kOptOem,
  kOptAnsi,
  kOptRaw,
  kOptOutput,
  kOptTabs,
};

struct OptionEntry {
  int32_t code;
  char name[20];
  const char* description;
  // Options added after the first thirty are found by their whole name
  // only: an abbreviation keeps naming the row it named before (-o and -or
  // orientation), since the lookup's probing among the first thirty rows
  // never sees these.
  bool wholeNameOnly = false;
};

constexpr int kOptionCount = 32;
extern OptionEntry OptionTable[kOptionCount];

struct PaperSource {
  int16_t bin;
  const char* name;
};

constexpr int kPaperSourceCount = 13;
extern const PaperSource PaperSourceTable[kPaperSourceCount];

// Puts the option table in ascending byte order of the names, which the
// lookup relies on. Sorting a sorted table changes nothing.
void SortOptionTable();

// The option that text names: an option whose name is a prefix of the text,
// or of which the text is a prefix, found by binary search over the sorted
// table. Null for an empty text or when no row matches. A row marked
// wholeNameOnly matches only a text that begins with its whole name.
const OptionEntry* FindOption(const char* text);

}  // namespace plenwick
