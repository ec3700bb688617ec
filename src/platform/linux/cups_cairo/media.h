// Paper and trays in CUPS' terms: the platform's paper codes and bins as PWG
// media and IPP media-source names, what a destination prints with when
// told nothing, and the media and job attributes of a job's settings.
#pragma once

#include <cups/cups.h>

#include <string>
#include <vector>

#include "platform/linux/cups_cairo/cups_destination.h"

namespace linux_platform {

// The paper code of a size of the job's own, and the bin that leaves the
// choice to the printer.
constexpr int kCustomPaper = 256;
constexpr int kAutomaticBin = 7;
constexpr int kMaxCopies = 9999;

// What a job asks of the printer.
struct JobSettings {
  bool landscape = false;
  // 1 to 41, kCustomPaper, or anything else for the destination's default.
  int paperCode = 0;
  int customWidth = 0, customLength = 0;  // tenths of mm, for kCustomPaper
  int copies = 1;
  bool collate = true;
  int bin = kAutomaticBin;
};

// What a destination prints with when told nothing, and the form name of
// its paper (empty for a size without one).
struct PrinterDefaults {
  JobSettings settings;
  std::string formName;
};
PrinterDefaults DefaultsOf(Destination& destination);

// The media of the settings' paper: paper code or custom size, or the
// destination's default media. Sizes and margins in hundredths of mm.
cups_size_t MediaOf(Destination& destination, const JobSettings& settings);
// The media of the settings' paper with no printer to ask: paper code or
// custom size, else the system's paper (/etc/papersize, A4 when it names
// none). No margins: nothing of the sheet is out of a printer's reach.
cups_size_t MediaWithoutPrinter(const JobSettings& settings);
// The IPP job attributes of the settings.
void AddJobOptions(Destination& destination, const JobSettings& settings, CupsOptions& options);

// The paper codes of the sheets the destination takes, one a sheet (the
// first code of those naming the same media), in code order.
std::vector<int> PapersOf(Destination& destination);
// The first code of those naming the same media as paperCode; paperCode
// itself when none does.
int FirstPaperOfMedia(int paperCode);

// A paper code the platform knows, or the custom size.
bool KnownPaper(int code);
// The PWG media name of a paper code, or null for a code without one.
const char* MediaNameOfPaper(int paperCode);
// The paper code of a PWG media name, or 0.
int PaperOfMediaName(const char* name);
// The paper code of a form by any of its names (a PPD name such as "A4", an
// IPP legacy name or a PWG name), or 0.
int PaperOfFormName(const char* form);
// A listed paper's size in tenths of mm; false for a code without one.
bool PaperSize(int paperCode, int& width, int& length);
// The form name of a listed paper, or empty.
std::string FormNameOfPaper(int paperCode);
// The IPP media-source keyword of a paper bin, or empty.
std::string MediaSourceOfBin(int bin);
int BinOfMediaSource(const char* keyword);

}  // namespace linux_platform
