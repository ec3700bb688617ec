#include "platform/linux/cups_cairo/media.h"

#include <langinfo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ascii.h"

namespace linux_platform {
namespace {

// The paper codes of the platform, 1 to 41, as PWG media names. Papers
// that differ only in name or orientation share one medium.
const char* const kPaperMedia[] = {
    nullptr,
    "na_letter_8.5x11in",         // 1 Letter
    "na_letter_8.5x11in",         // 2 Letter small
    "na_ledger_11x17in",          // 3 Tabloid
    "na_ledger_11x17in",          // 4 Ledger (the same sheet turned)
    "na_legal_8.5x14in",          // 5 Legal
    "na_invoice_5.5x8.5in",       // 6 Statement
    "na_executive_7.25x10.5in",   // 7 Executive
    "iso_a3_297x420mm",           // 8 A3
    "iso_a4_210x297mm",           // 9 A4
    "iso_a4_210x297mm",           // 10 A4 small
    "iso_a5_148x210mm",           // 11 A5
    "iso_b4_250x353mm",           // 12 B4
    "jis_b5_182x257mm",           // 13 B5
    "na_foolscap_8.5x13in",       // 14 Folio
    "na_quarto_8.5x10.83in",      // 15 Quarto
    "na_10x14_10x14in",           // 16 10 by 14 sheet
    "na_ledger_11x17in",          // 17 11 by 17 sheet
    "na_letter_8.5x11in",         // 18 Note
    "na_number-9_3.875x8.875in",  // 19 #9 envelope
    "na_number-10_4.125x9.5in",   // 20 #10 envelope
    "na_number-11_4.5x10.375in",  // 21 #11 envelope
    "na_number-12_4.75x11in",     // 22 #12 envelope
    "na_number-14_5x11.5in",      // 23 #14 envelope
    "na_c_17x22in",               // 24 C sheet
    "na_d_22x34in",               // 25 D sheet
    "na_e_34x44in",               // 26 E sheet
    "iso_dl_110x220mm",           // 27 DL envelope
    "iso_c5_162x229mm",           // 28 C5 envelope
    "iso_c3_324x458mm",           // 29 C3 envelope
    "iso_c4_229x324mm",           // 30 C4 envelope
    "iso_c6_114x162mm",           // 31 C6 envelope
    "iso_c6c5_114x229mm",         // 32 C65 envelope
    "iso_b4_250x353mm",           // 33 B4 envelope
    "iso_b5_176x250mm",           // 34 B5 envelope
    "iso_b6_125x176mm",           // 35 B6 envelope
    "om_italian_110x230mm",       // 36 Italy envelope
    "na_monarch_3.875x7.5in",     // 37 Monarch envelope
    "na_personal_3.625x6.5in",    // 38 6 3/4 envelope
    "na_fanfold-us_11x14.875in",  // 39 U.S. standard fanfold
    "na_fanfold-eur_8.5x12in",    // 40 German standard fanfold
    "na_foolscap_8.5x13in",       // 41 German legal fanfold
};
constexpr int kLastPaper = 41;
static_assert(sizeof kPaperMedia / sizeof kPaperMedia[0] == kLastPaper + 1, "41 paper codes");

// Paper bins and the IPP media-source keywords that name the same tray.
struct BinSource {
  int bin;
  const char* keyword;
};
const BinSource kBinSources[] = {
    {1, "top"},    {2, "bottom"}, {3, "middle"},          {4, "manual"}, {5, "envelope"},
    {6, "manual"}, {7, "auto"},   {11, "large-capacity"}, {14, "main"},
};
constexpr int kFirstUserBin = 256;  // user bins 256.. are trays 1..
constexpr int kUserTrays = 20;

constexpr int kHundredthsPerTenth = 10;

bool LandscapeKeyword(const std::string& value) {
  return value == "landscape" || value == "4" || value == "reverse-landscape" || value == "5";
}

// A medium by any of its names: a form name as PPD files give it ("A4",
// "Legal"), an IPP legacy name, or a PWG name.
pwg_media_t* MediaNamed(const char* name) {
  pwg_media_t* media = pwgMediaForPPD(name);
  if (!media) media = pwgMediaForLegacy(name);
  if (!media) media = pwgMediaForPWG(name);
  return media;
}

int LocalePaperMillimetres(nl_item item) {
  return static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo(item)));
}

}  // namespace

PrinterDefaults DefaultsOf(Destination& destination) {
  PrinterDefaults defaults;
  JobSettings& settings = defaults.settings;
  settings.landscape = LandscapeKeyword(destination.DefaultKeyword("orientation-requested"));
  settings.copies = std::clamp<int>(
      plenwick::LeadingInt(destination.DefaultKeyword("copies").c_str()), 1, kMaxCopies);
  settings.bin = BinOfMediaSource(destination.DefaultKeyword("media-source").c_str());
  settings.collate = destination.DefaultKeyword("multiple-document-handling") !=
                     "separate-documents-uncollated-copies";

  std::string media = destination.DefaultKeyword("media");
  pwg_media_t* pwg = MediaNamed(media.c_str());
  cups_size_t size{};
  if (!pwg && destination.DefaultMedia(size)) pwg = pwgMediaForSize(size.width, size.length);
  // A queue that names no media at all (a raw queue) prints on the paper
  // of the locale.
  if (!pwg)
    pwg = pwgMediaForSize(LocalePaperMillimetres(_NL_PAPER_WIDTH) * 100,
                          LocalePaperMillimetres(_NL_PAPER_HEIGHT) * 100);
  settings.paperCode = pwg ? PaperOfMediaName(pwg->pwg) : 0;
  if (settings.paperCode == 0) {
    settings.paperCode = kCustomPaper;
    settings.customWidth = (pwg ? pwg->width : size.width) / kHundredthsPerTenth;
    settings.customLength = (pwg ? pwg->length : size.length) / kHundredthsPerTenth;
  }
  defaults.formName = pwg && pwg->ppd ? pwg->ppd : "";
  return defaults;
}

namespace {

// The size of a PWG medium, without margins.
cups_size_t SizeOfMedium(const pwg_media_t& pwg) {
  cups_size_t size{};
  snprintf(size.media, sizeof size.media, "%s", pwg.pwg);
  size.width = pwg.width;
  size.length = pwg.length;
  return size;
}

cups_size_t CustomSize(const JobSettings& settings) {
  cups_size_t size{};
  int width = settings.customWidth * kHundredthsPerTenth;
  int length = settings.customLength * kHundredthsPerTenth;
  pwgFormatSizeName(size.media, sizeof size.media, "custom", nullptr, width, length, nullptr);
  size.width = width;
  size.length = length;
  return size;
}

bool HasCustomSize(const JobSettings& settings) {
  return settings.paperCode == kCustomPaper && settings.customWidth > 0 &&
         settings.customLength > 0;
}

// The first word of a paper file as libpaper reads one: comments and blank
// lines skipped.
std::string PaperFileWord(const char* path) {
  FILE* file = path ? fopen(path, "r") : nullptr;
  if (!file) return "";
  char line[128];
  std::string word;
  while (word.empty() && fgets(line, sizeof line, file)) {
    char* start = line + strspn(line, " \t");
    if (*start == '#') continue;
    word.assign(start, strcspn(start, " \t\r\n"));
  }
  fclose(file);
  return word;
}

// The system's paper as libpaper finds it: $PAPERSIZE, else the file
// $PAPERCONF names, else /etc/papersize; A4 when none names a paper.
const pwg_media_t* SystemPaper() {
  const char* variable = getenv("PAPERSIZE");
  std::string name = variable && *variable ? variable : "";
  if (name.empty()) {
    const char* conf = getenv("PAPERCONF");
    name = PaperFileWord(conf && *conf ? conf : "/etc/papersize");
  }
  const pwg_media_t* pwg = name.empty() ? nullptr : MediaNamed(name.c_str());
  if (!pwg && !name.empty() && name[0] >= 'a' && name[0] <= 'z') {
    // libpaper's names are lower case ("a4", "letter"), a PPD's capitalised.
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    pwg = MediaNamed(name.c_str());
  }
  return pwg ? pwg : pwgMediaForPWG("iso_a4_210x297mm");
}

}  // namespace

cups_size_t MediaOf(Destination& destination, const JobSettings& settings) {
  cups_size_t size{};
  const char* name = MediaNameOfPaper(settings.paperCode);
  if (name) {
    if (destination.MediaByName(name, size)) return size;
    // A paper the destination does not list still has its own size.
    return SizeOfMedium(*pwgMediaForPWG(name));
  }
  if (HasCustomSize(settings)) {
    int width = settings.customWidth * kHundredthsPerTenth;
    int length = settings.customLength * kHundredthsPerTenth;
    if (destination.MediaBySize(width, length, size)) return size;
    return CustomSize(settings);
  }
  std::string media = destination.DefaultKeyword("media");
  if (!destination.MediaByName(media.c_str(), size)) destination.DefaultMedia(size);
  return size;
}

cups_size_t MediaWithoutPrinter(const JobSettings& settings) {
  const char* name = MediaNameOfPaper(settings.paperCode);
  if (name) return SizeOfMedium(*pwgMediaForPWG(name));
  if (HasCustomSize(settings)) return CustomSize(settings);
  return SizeOfMedium(*SystemPaper());
}

void AddJobOptions(Destination& destination, const JobSettings& settings, CupsOptions& options) {
  char copies[16];
  snprintf(copies, sizeof copies, "%d", std::max(settings.copies, 1));
  options.Add("copies", copies);
  options.Add("multiple-document-handling", settings.collate
                                                ? "separate-documents-collated-copies"
                                                : "separate-documents-uncollated-copies");
  options.Add("orientation-requested", settings.landscape ? "4" : "3");
  // A listed paper goes by its PWG name; anything else by the name of the
  // size the destination gives it.
  cups_size_t media = MediaOf(destination, settings);
  const char* keyword = MediaNameOfPaper(settings.paperCode);
  options.Add("media", keyword ? keyword : media.media);
  std::string source = MediaSourceOfBin(settings.bin);
  if (!source.empty()) options.Add("media-source", source.c_str());
}

std::vector<int> PapersOf(Destination& destination) {
  std::vector<int> papers;
  for (int code = 1; code <= kLastPaper; ++code) {
    cups_size_t size;
    if (FirstPaperOfMedia(code) == code && destination.MediaByName(kPaperMedia[code], size)) {
      papers.push_back(code);
    }
  }
  return papers;
}

int FirstPaperOfMedia(int paperCode) {
  const char* name = MediaNameOfPaper(paperCode);
  int first = PaperOfMediaName(name);
  return first != 0 ? first : paperCode;
}

bool KnownPaper(int code) { return (code >= 1 && code <= kLastPaper) || code == kCustomPaper; }

int PaperOfFormName(const char* form) {
  pwg_media_t* pwg = MediaNamed(form);
  return pwg ? PaperOfMediaName(pwg->pwg) : 0;
}

bool PaperSize(int paperCode, int& width, int& length) {
  const char* name = MediaNameOfPaper(paperCode);
  pwg_media_t* pwg = name ? pwgMediaForPWG(name) : nullptr;
  if (!pwg) return false;
  width = pwg->width / kHundredthsPerTenth;
  length = pwg->length / kHundredthsPerTenth;
  return true;
}

std::string FormNameOfPaper(int paperCode) {
  const char* name = MediaNameOfPaper(paperCode);
  pwg_media_t* pwg = name ? pwgMediaForPWG(name) : nullptr;
  return pwg && pwg->ppd ? pwg->ppd : "";
}

const char* MediaNameOfPaper(int paperCode) {
  return paperCode >= 1 && paperCode <= kLastPaper ? kPaperMedia[paperCode] : nullptr;
}

int PaperOfMediaName(const char* name) {
  if (!name) return 0;
  for (int code = 1; code <= kLastPaper; ++code) {
    if (strcmp(kPaperMedia[code], name) == 0) return code;
  }
  return 0;
}

std::string MediaSourceOfBin(int bin) {
  for (const BinSource& row : kBinSources) {
    if (row.bin == bin) return row.keyword;
  }
  if (bin >= kFirstUserBin && bin < kFirstUserBin + kUserTrays) {
    return "tray-" + std::to_string(bin - kFirstUserBin + 1);
  }
  return "";
}

int BinOfMediaSource(const char* keyword) {
  for (const BinSource& row : kBinSources) {
    if (strcmp(row.keyword, keyword) == 0) return row.bin;
  }
  static const char kTray[] = "tray-";
  if (strncmp(keyword, kTray, sizeof kTray - 1) == 0 &&
      plenwick::IsAsciiDigit(keyword[sizeof kTray - 1])) {
    int64_t tray = plenwick::LeadingInt64(keyword + sizeof kTray - 1);
    if (tray >= 1 && tray <= kUserTrays) return static_cast<int>(kFirstUserBin + tray - 1);
  }
  return kAutomaticBin;
}

}  // namespace linux_platform
