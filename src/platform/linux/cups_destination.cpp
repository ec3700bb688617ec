#include "platform/linux/cups_destination.h"

#include <cups/ppd.h>
#include <langinfo.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace linux_platform {
namespace {

// The paper codes of the platform, 1 to 41, as PWG media names. Papers
// that differ only in name or orientation share one medium.
const char* const kPaperMedia[] = {
    nullptr,
    "na_letter_8.5x11in",           // 1 Letter
    "na_letter_8.5x11in",           // 2 Letter small
    "na_ledger_11x17in",            // 3 Tabloid
    "na_ledger_11x17in",            // 4 Ledger (the same sheet turned)
    "na_legal_8.5x14in",            // 5 Legal
    "na_invoice_5.5x8.5in",         // 6 Statement
    "na_executive_7.25x10.5in",     // 7 Executive
    "iso_a3_297x420mm",             // 8 A3
    "iso_a4_210x297mm",             // 9 A4
    "iso_a4_210x297mm",             // 10 A4 small
    "iso_a5_148x210mm",             // 11 A5
    "iso_b4_250x353mm",             // 12 B4
    "jis_b5_182x257mm",             // 13 B5
    "na_foolscap_8.5x13in",         // 14 Folio
    "na_quarto_8.5x10.83in",        // 15 Quarto
    "na_10x14_10x14in",             // 16 10 by 14 sheet
    "na_ledger_11x17in",            // 17 11 by 17 sheet
    "na_letter_8.5x11in",           // 18 Note
    "na_number-9_3.875x8.875in",    // 19 #9 envelope
    "na_number-10_4.125x9.5in",     // 20 #10 envelope
    "na_number-11_4.5x10.375in",    // 21 #11 envelope
    "na_number-12_4.75x11in",       // 22 #12 envelope
    "na_number-14_5x11.5in",        // 23 #14 envelope
    "na_c_17x22in",                 // 24 C sheet
    "na_d_22x34in",                 // 25 D sheet
    "na_e_34x44in",                 // 26 E sheet
    "iso_dl_110x220mm",             // 27 DL envelope
    "iso_c5_162x229mm",             // 28 C5 envelope
    "iso_c3_324x458mm",             // 29 C3 envelope
    "iso_c4_229x324mm",             // 30 C4 envelope
    "iso_c6_114x162mm",             // 31 C6 envelope
    "iso_c6c5_114x229mm",           // 32 C65 envelope
    "iso_b4_250x353mm",             // 33 B4 envelope
    "iso_b5_176x250mm",             // 34 B5 envelope
    "iso_b6_125x176mm",             // 35 B6 envelope
    "om_italian_110x230mm",         // 36 Italy envelope
    "na_monarch_3.875x7.5in",       // 37 Monarch envelope
    "na_personal_3.625x6.5in",      // 38 6 3/4 envelope
    "na_fanfold-us_11x14.875in",    // 39 U.S. standard fanfold
    "na_fanfold-eur_8.5x12in",      // 40 German standard fanfold
    "na_foolscap_8.5x13in",         // 41 German legal fanfold
};
constexpr int kLastPaper = 41;
static_assert(sizeof kPaperMedia / sizeof kPaperMedia[0] == kLastPaper + 1, "41 paper codes");

// Paper bins and the IPP media-source keywords that name the same tray.
struct BinSource {
  int bin;
  const char* keyword;
};
const BinSource kBinSources[] = {
    {1, "top"},    {2, "bottom"}, {3, "middle"},         {4, "manual"}, {5, "envelope"},
    {6, "manual"}, {7, "auto"},   {11, "large-capacity"}, {14, "main"},
};
constexpr int kFirstUserBin = 256;  // user bins 256.. are trays 1..
constexpr int kUserTrays = 20;

constexpr int kHundredthsPerTenth = 10;
constexpr short kMaxCopies = 9999;

short OrientationOfKeyword(const std::string& value) {
  return (value == "landscape" || value == "4" || value == "reverse-landscape" || value == "5")
             ? DMORIENT_LANDSCAPE
             : DMORIENT_PORTRAIT;
}

void CopyName(BYTE* field, size_t size, const std::string& text) {
  memset(field, 0, size);
  memcpy(field, text.data(), std::min(text.size(), size - 1));
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

// A paper code the platform knows, or the custom size.
bool KnownPaper(int code) { return (code >= 1 && code <= kLastPaper) || code == DMPAPER_USER; }

}  // namespace

const char* NoPassword(const char*, http_t* http, const char* method, const char* resource,
                       void*) {
  char host[256] = "?";
  int port = 0;
  if (http) {
    httpGetHostname(http, host, sizeof host);
    if (http_addr_t* address = httpGetAddress(http)) port = httpAddrPort(address);
  }
  fprintf(stderr,
          "Print server %s:%d asks for a password (%s) for %s: none is given, this library "
          "never asks for one, so the request is refused.\n",
          host, port, method && *method ? method : "POST", resource && *resource ? resource : "/");
  fflush(stderr);
  return nullptr;
}

void InitializeCups() {
  // libcups ignores SIGPIPE when it starts its network layer. The process
  // we live in (a Java virtual machine) has its own handler, which ignores
  // the signal as well and must stay in place.
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction saved {};
    sigaction(SIGPIPE, nullptr, &saved);
    httpInitialize();
    sigaction(SIGPIPE, &saved, nullptr);
  });
  // libcups keeps the password callback per thread.
  thread_local bool answered = false;
  if (!answered) {
    cupsSetPasswordCB2(NoPassword, nullptr);
    answered = true;
  }
}

std::unique_ptr<Destination> Destination::Find(const std::string& name) {
  InitializeCups();
  // The server is asked for this one destination (the default one without
  // a name). A list of all of them would also browse the network for
  // printers for a second wherever DNS-SD runs, as on most desktops;
  // libcups browses only for a name its server does not know.
  cups_dest_t* found = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.empty() ? nullptr : name.c_str(),
                                        nullptr);
  if (!found) return nullptr;
  auto destination = std::make_unique<Destination>();
  destination->name_ = found->name;
  destination->dests_ = std::unique_ptr<cups_dest_t, DestinationsDeleter>(found, {1});
  destination->info_.reset(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, destination->dest()));
  if (!destination->info_) return nullptr;
  return destination;
}

std::string Destination::DefaultKeyword(const char* attribute) {
  const char* option = cupsGetOption(attribute, dest()->num_options, dest()->options);
  if (option) return option;
  ipp_attribute_t* value = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest(), info(), attribute);
  char text[256] = "";
  if (value) ippAttributeString(value, text, sizeof text);
  return text;
}

void Destination::FillDefaults(DEVMODEA& mode) {
  memset(&mode, 0, sizeof mode);
  CopyName(mode.dmDeviceName, sizeof mode.dmDeviceName, name_);
  mode.dmSpecVersion = DM_SPECVERSION;
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_COLLATE |
                  DM_FORMNAME | DM_PRINTQUALITY | DM_YRESOLUTION;
  mode.dmOrientation = OrientationOfKeyword(DefaultKeyword("orientation-requested"));
  mode.dmCopies = static_cast<short>(std::clamp<int>(atoi(DefaultKeyword("copies").c_str()), 1, kMaxCopies));
  mode.dmDefaultSource = static_cast<short>(BinOfMediaSource(DefaultKeyword("media-source").c_str()));
  mode.dmCollate = DefaultKeyword("multiple-document-handling") ==
                           "separate-documents-uncollated-copies"
                       ? DMCOLLATE_FALSE
                       : DMCOLLATE_TRUE;
  mode.dmPrintQuality = 300;
  mode.dmYResolution = 300;

  std::string media = DefaultKeyword("media");
  pwg_media_t* pwg = MediaNamed(media.c_str());
  cups_size_t size{};
  if (!pwg && cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest(), info(), 0, &size)) {
    pwg = pwgMediaForSize(size.width, size.length);
  }
  // A queue that names no media at all (a raw queue) prints on the paper
  // of the locale.
  if (!pwg) pwg = pwgMediaForSize(LocalePaperMillimetres(_NL_PAPER_WIDTH) * 100,
                                  LocalePaperMillimetres(_NL_PAPER_HEIGHT) * 100);
  mode.dmPaperSize = static_cast<short>(pwg ? PaperOfMediaName(pwg->pwg) : 0);
  if (mode.dmPaperSize == 0) {
    mode.dmPaperSize = DMPAPER_USER;
    mode.dmPaperWidth = static_cast<short>((pwg ? pwg->width : size.width) / kHundredthsPerTenth);
    mode.dmPaperLength = static_cast<short>((pwg ? pwg->length : size.length) / kHundredthsPerTenth);
    mode.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
  }
  const char* form = pwg && pwg->ppd ? pwg->ppd : "";
  CopyName(mode.dmFormName, sizeof mode.dmFormName, form);
}

cups_size_t Destination::MediaOf(const DEVMODEA& mode) {
  cups_size_t size{};
  const char* name = MediaNameOfPaper(mode.dmPaperSize);
  if (name) {
    if (cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest(), info(), name, CUPS_MEDIA_FLAGS_DEFAULT,
                               &size)) {
      return size;
    }
    // A paper the destination does not list still has its own size.
    pwg_media_t* pwg = pwgMediaForPWG(name);
    snprintf(size.media, sizeof size.media, "%s", name);
    size.width = pwg->width;
    size.length = pwg->length;
    return size;
  }
  if (mode.dmPaperSize == DMPAPER_USER && mode.dmPaperWidth > 0 && mode.dmPaperLength > 0) {
    int width = mode.dmPaperWidth * kHundredthsPerTenth;
    int length = mode.dmPaperLength * kHundredthsPerTenth;
    if (cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, dest(), info(), width, length,
                               CUPS_MEDIA_FLAGS_DEFAULT, &size) &&
        size.width == width && size.length == length) {
      return size;
    }
    size = cups_size_t{};
    pwgFormatSizeName(size.media, sizeof size.media, "custom", nullptr, width, length, nullptr);
    size.width = width;
    size.length = length;
    return size;
  }
  std::string media = DefaultKeyword("media");
  if (!cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest(), info(), media.c_str(),
                              CUPS_MEDIA_FLAGS_DEFAULT, &size)) {
    cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest(), info(), CUPS_MEDIA_FLAGS_DEFAULT, &size);
  }
  return size;
}

int Destination::AddJobOptions(const DEVMODEA& mode, int count, cups_option_t** options) {
  char copies[16];
  snprintf(copies, sizeof copies, "%d", std::max<int>(mode.dmCopies, 1));
  count = cupsAddOption("copies", copies, count, options);
  count = cupsAddOption("multiple-document-handling",
                        mode.dmCollate == DMCOLLATE_TRUE ? "separate-documents-collated-copies"
                                                         : "separate-documents-uncollated-copies",
                        count, options);
  count = cupsAddOption("orientation-requested",
                        mode.dmOrientation == DMORIENT_LANDSCAPE ? "4" : "3", count, options);
  // A listed paper goes by its PWG name; anything else by the name of the
  // size the destination gives it.
  cups_size_t media = MediaOf(mode);
  const char* keyword = MediaNameOfPaper(mode.dmPaperSize);
  if (!keyword) keyword = media.media;
  count = cupsAddOption("media", keyword, count, options);
  std::string source = MediaSourceOfBin(mode.dmDefaultSource);
  if (!source.empty()) count = cupsAddOption("media-source", source.c_str(), count, options);
  return count;
}

void MergeFlaggedFields(DEVMODEA& mode, const DEVMODEA& input) {
  DWORD flags = input.dmFields;
  if ((flags & DM_ORIENTATION) &&
      (input.dmOrientation == DMORIENT_PORTRAIT || input.dmOrientation == DMORIENT_LANDSCAPE)) {
    mode.dmOrientation = input.dmOrientation;
  }
  if ((flags & DM_PAPERSIZE) && KnownPaper(input.dmPaperSize)) {
    mode.dmPaperSize = input.dmPaperSize;
    mode.dmFields &= ~static_cast<DWORD>(DM_PAPERWIDTH | DM_PAPERLENGTH);
  } else if ((flags & DM_FORMNAME) && !(flags & DM_PAPERSIZE)) {
    char form[CCHFORMNAME + 1] = "";
    memcpy(form, input.dmFormName, CCHFORMNAME);
    pwg_media_t* pwg = MediaNamed(form);
    int code = pwg ? PaperOfMediaName(pwg->pwg) : 0;
    if (code != 0) mode.dmPaperSize = static_cast<short>(code);
  }
  // A custom size is a width and a length: either given alone keeps the
  // other side of the paper it replaces.
  if (flags & (DM_PAPERWIDTH | DM_PAPERLENGTH)) {
    if (mode.dmPaperSize != DMPAPER_USER) {
      pwg_media_t* pwg = pwgMediaForPWG(MediaNameOfPaper(mode.dmPaperSize));
      if (pwg) {
        mode.dmPaperWidth = static_cast<short>(pwg->width / kHundredthsPerTenth);
        mode.dmPaperLength = static_cast<short>(pwg->length / kHundredthsPerTenth);
      }
    }
    if ((flags & DM_PAPERWIDTH) && input.dmPaperWidth > 0) mode.dmPaperWidth = input.dmPaperWidth;
    if ((flags & DM_PAPERLENGTH) && input.dmPaperLength > 0) {
      mode.dmPaperLength = input.dmPaperLength;
    }
    if (!(flags & DM_PAPERSIZE) || input.dmPaperSize == DMPAPER_USER) {
      mode.dmPaperSize = DMPAPER_USER;
      mode.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
    }
  }
  if (flags & DM_COPIES) mode.dmCopies = std::clamp<short>(input.dmCopies, 1, kMaxCopies);
  if (flags & DM_DEFAULTSOURCE) mode.dmDefaultSource = input.dmDefaultSource;
  if ((flags & DM_COLLATE) &&
      (input.dmCollate == DMCOLLATE_TRUE || input.dmCollate == DMCOLLATE_FALSE)) {
    mode.dmCollate = input.dmCollate;
  }
  if (mode.dmPaperSize != DMPAPER_USER) {
    pwg_media_t* pwg = pwgMediaForPWG(MediaNameOfPaper(mode.dmPaperSize));
    const char* form = pwg && pwg->ppd ? pwg->ppd : "";
    CopyName(mode.dmFormName, sizeof mode.dmFormName, form);
  }
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
  int tray = 0;
  if (sscanf(keyword, "tray-%d", &tray) == 1 && tray >= 1 && tray <= kUserTrays) {
    return kFirstUserBin + tray - 1;
  }
  return 7;  // automatic selection
}

// The PPD is the one place that says whether a queue's printer takes
// PostScript; libcups reads it only through its older PPD functions.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
bool Destination::TakesPostScript() {
  char path[1024] = "";
  time_t modified = 0;
  if (cupsGetPPD3(CUPS_HTTP_DEFAULT, name_.c_str(), &modified, path, sizeof path) !=
      HTTP_STATUS_OK) {
    return false;  // no PPD: a raw or driverless queue
  }
  ppd_file_t* ppd = ppdOpenFile(path);
  unlink(path);
  if (!ppd) return false;
  bool postscript = ppd->num_filters == 0 && !ppdFindAttr(ppd, "cupsFilter2", nullptr);
  ppdClose(ppd);
  return postscript;
}
#pragma GCC diagnostic pop

}  // namespace linux_platform
