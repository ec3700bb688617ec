#include "render/style_fonts.h"

#include "core/debug_log.h"
#include "core/fixed_text.h"

namespace plenwick {
namespace {

constexpr BYTE kFamilyBits = 0xF0;

// The logical font all four styles share: the size of the device's current
// font unless the job gives a point size, and the job's face or the
// current one.
LOGFONTA BaseLogFont(const PrintJob& job, HDC dc) {
  TEXTMETRICA tm{};
  if (!GetTextMetricsA(dc, &tm)) {
    DebugLog("GetTextMetrics failed - GetLastError() = %d\n", static_cast<int>(GetLastError()));
  }
  LOGFONTA font{};
  if (job.pointSize != 0) {
    font.lfHeight = -MulDiv(job.pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWidth = 0;
  } else {
    font.lfHeight = tm.tmHeight;
    font.lfWidth = tm.tmAveCharWidth;
  }
  // The metrics' family with a fixed pitch asked for: in the metrics the low
  // bit set means a variable pitch, in a logical font VARIABLE_PITCH is 2,
  // so the metrics copied would ask a fixed face for a variable pitch, and
  // a face that is missing would give way to a proportional one.
  font.lfPitchAndFamily = static_cast<BYTE>((tm.tmPitchAndFamily & kFamilyBits) | FIXED_PITCH);
  // The system's ANSI code page rather than ANSI_CHARSET (0): GDI reads
  // TextOutA's bytes in the code page of the font's character set, which
  // ANSI_CHARSET fixes at 1252, while a report is written in the code page
  // of the system it comes from (1251 in Russia, 1250 in Poland), as are
  // the file names and dialog texts. On a 1252 system the two are one font.
  font.lfCharSet = DEFAULT_CHARSET;
  if (job.fontFace[0] != '\0') {
    CopyText(font.lfFaceName, job.fontFace);
  } else if (GetTextFaceA(dc, LF_FACESIZE, font.lfFaceName) <= 0) {
    font.lfFaceName[0] = '\0';
  }
  font.lfFaceName[LF_FACESIZE - 1] = '\0';
  return font;
}

}  // namespace

bool StyleFonts::Create(const PrintJob& job, HDC dc) {
  Release();
  LOGFONTA base = BaseLogFont(job, dc);
  bool made = Make(base, kPlain);
  made = Make(base, kUnderline) && made;
  made = Make(base, kBold | kUnderline) && made;
  made = Make(base, kBold) && made;
  if (fonts_[kPlain]) SelectFont(dc, fonts_[kPlain].get());
  return made;
}

bool StyleFonts::Make(const LOGFONTA& base, LineAttr attribute) {
  LOGFONTA font = base;
  font.lfWeight = (attribute & kBold) ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = (attribute & kUnderline) ? 1 : 0;
  fonts_[attribute].reset(CreateFontIndirectA(&font));
  if (fonts_[attribute]) return true;
  DebugLog(
      "CreateFontIndirect(%s, height %d, weight %d, underline %d) failed - GetLastError() = %d\n",
      font.lfFaceName, static_cast<int>(font.lfHeight), static_cast<int>(font.lfWeight),
      font.lfUnderline, static_cast<int>(GetLastError()));
  return false;
}

// The first font selected into the device context displaces its own font,
// which Release puts back.
void StyleFonts::SelectFont(HDC dc, HFONT font) {
  if (font == selected_) return;
  if (original_) {
    HGDIOBJ previous = SelectObject(dc, font);
    if (previous && previous != HGDI_ERROR) selected_ = font;
  } else {
    original_ = UniqueSelection(dc, font);
    if (original_) selected_ = font;
  }
}

void StyleFonts::Select(HDC dc, LineAttr attribute) {
  HFONT font = fonts_[attribute & 3].get();
  if (!font) font = fonts_[kPlain].get();
  if (font) SelectFont(dc, font);
}

void StyleFonts::Release() {
  selected_ = nullptr;
  original_.reset();
  for (UniqueFont& font : fonts_) font.reset();
}

}  // namespace plenwick
