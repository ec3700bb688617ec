#include "platform/linux/devmode.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace linux_platform {
namespace {

static_assert(kCustomPaper == DMPAPER_USER, "the custom paper code");

void CopyName(BYTE* field, size_t size, const std::string& text) {
  memset(field, 0, size);
  memcpy(field, text.data(), std::min(text.size(), size - 1));
}

constexpr size_t kPaperNameLength = 64;

// Writes the entries into output, when there is one; the answer is their count.
template <typename Entry, typename Put>
int AnswerList(const std::vector<Entry>& list, LPSTR output, size_t size, Put put) {
  for (size_t i = 0; output && i < list.size(); ++i) put(output + i * size, list[i]);
  return static_cast<int>(list.size());
}

void PutWord(char* to, int value) {
  auto word = static_cast<WORD>(value);
  memcpy(to, &word, sizeof word);
}

void PutPaperName(char* to, int paper) {
  CopyName(reinterpret_cast<BYTE*>(to), kPaperNameLength, FormNameOfPaper(paper));
}

std::vector<int> BinsOf(const Destination& destination) {
  std::vector<int> bins;
  ipp_attribute_t* sources = destination.Supported("media-source");
  for (int i = 0; sources && i < ippGetCount(sources); ++i) {
    int bin = BinOfMediaSource(ippGetString(sources, i, nullptr));
    if (bin != 0) bins.push_back(bin);
  }
  return bins;
}

int MostCopies(const Destination& destination) {
  ipp_attribute_t* copies = destination.Supported("copies");
  int upper = 0;
  if (!copies || ippGetValueTag(copies) != IPP_TAG_RANGE) return kMaxCopies;
  ippGetRange(copies, 0, &upper);
  return std::clamp(upper, 1, kMaxCopies);
}

}  // namespace

int Capability(Destination& destination, WORD capability, LPSTR output) {
  switch (capability) {
    case DC_COPIES:
      return MostCopies(destination);
    case DC_COLLATE:
      return destination.Supports("multiple-document-handling",
                                  "separate-documents-collated-copies")
                 ? 1
                 : 0;
    case DC_BINS:
      return AnswerList(BinsOf(destination), output, sizeof(WORD), PutWord);
    case DC_PAPERS:
      return AnswerList(PapersOf(destination), output, sizeof(WORD), PutWord);
    case DC_PAPERNAMES:
      return AnswerList(PapersOf(destination), output, kPaperNameLength, PutPaperName);
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return -1;
  }
}

void FillDefaults(Destination& destination, DEVMODEA& mode) {
  PrinterDefaults defaults = DefaultsOf(destination);
  const JobSettings& settings = defaults.settings;
  memset(&mode, 0, sizeof mode);
  CopyName(mode.dmDeviceName, sizeof mode.dmDeviceName, destination.name());
  mode.dmSpecVersion = DM_SPECVERSION;
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_COLLATE |
                  DM_FORMNAME | DM_PRINTQUALITY | DM_YRESOLUTION;
  mode.dmOrientation = settings.landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  mode.dmCopies = static_cast<short>(settings.copies);
  mode.dmDefaultSource = static_cast<short>(settings.bin);
  mode.dmCollate = settings.collate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
  mode.dmPrintQuality = 300;
  mode.dmYResolution = 300;
  mode.dmPaperSize = static_cast<short>(settings.paperCode);
  if (settings.paperCode == kCustomPaper) {
    mode.dmPaperWidth = static_cast<short>(settings.customWidth);
    mode.dmPaperLength = static_cast<short>(settings.customLength);
    mode.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
  }
  CopyName(mode.dmFormName, sizeof mode.dmFormName, defaults.formName);
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
    int code = PaperOfFormName(form);
    if (code != 0) mode.dmPaperSize = static_cast<short>(code);
  }
  // A custom size is a width and a length: either given alone keeps the
  // other side of the paper it replaces.
  if (flags & (DM_PAPERWIDTH | DM_PAPERLENGTH)) {
    if (mode.dmPaperSize != DMPAPER_USER) {
      int width = 0, length = 0;
      if (PaperSize(mode.dmPaperSize, width, length)) {
        mode.dmPaperWidth = static_cast<short>(width);
        mode.dmPaperLength = static_cast<short>(length);
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
  if (flags & DM_COPIES)
    mode.dmCopies = static_cast<short>(std::clamp<int>(input.dmCopies, 1, kMaxCopies));
  if (flags & DM_DEFAULTSOURCE) mode.dmDefaultSource = input.dmDefaultSource;
  if ((flags & DM_COLLATE) &&
      (input.dmCollate == DMCOLLATE_TRUE || input.dmCollate == DMCOLLATE_FALSE)) {
    mode.dmCollate = input.dmCollate;
  }
  if (mode.dmPaperSize != DMPAPER_USER) {
    CopyName(mode.dmFormName, sizeof mode.dmFormName, FormNameOfPaper(mode.dmPaperSize));
  }
}

JobSettings SettingsOf(const DEVMODEA& mode) {
  JobSettings settings;
  settings.landscape = mode.dmOrientation == DMORIENT_LANDSCAPE;
  settings.paperCode = mode.dmPaperSize;
  settings.customWidth = mode.dmPaperWidth;
  settings.customLength = mode.dmPaperLength;
  settings.copies = mode.dmCopies;
  settings.collate = mode.dmCollate == DMCOLLATE_TRUE;
  settings.bin = mode.dmDefaultSource;
  return settings;
}

}  // namespace linux_platform
