#include "render/text_output.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/debug_log.h"
#include "core/fixed_text.h"
#include "platform/handles.h"

namespace plenwick {
namespace {

// The style fonts of the report file being printed, indexed by LineAttr,
// and the device context's own font, put back before they are deleted.
class StyleFontSet {
 public:
  StyleFontSet() = default;
  StyleFontSet(const StyleFontSet&) = delete;
  StyleFontSet& operator=(const StyleFontSet&) = delete;
  ~StyleFontSet() { Release(); }

  bool Create(const PrintJob& job);
  void Release();
  void Select(HDC dc, LineAttr attribute);
  void ForgetSelection() { selected_ = nullptr; }

 private:
  bool Make(const LOGFONTA& base, LineAttr attribute);
  void SelectFont(HDC dc, HFONT font);

  UniqueFont fonts_[4];
  // The style font last selected: a run in the same style selects nothing,
  // since every selection is work for the printer driver.
  HFONT selected_ = nullptr;
  // Declared after the fonts so that it goes first: the device context's
  // own font is back before any of ours is deleted.
  UniqueSelection original_;
};

StyleFontSet g_styleFonts;

// Scratch buffers for translated text and pass-through packets: grown when
// a longer run comes, never shrunk, so steady printing allocates nothing.
std::vector<char> g_translated;
std::vector<char> g_packet;

char* ScratchOf(std::vector<char>& buffer, size_t size) {
  if (buffer.size() < size) buffer.resize(size);
  return buffer.data();
}

// The logical font all four styles share: the size of the device's current
// font unless the job gives a point size, and the job's face or the
// current one.
LOGFONTA BaseLogFont(const PrintJob& job) {
  HDC dc = job.deviceContext.get();
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
  font.lfPitchAndFamily = tm.tmPitchAndFamily;
  if (job.fontFace[0] != '\0') {
    CopyText(font.lfFaceName, job.fontFace);
  } else if (GetTextFaceA(dc, LF_FACESIZE, font.lfFaceName) <= 0) {
    font.lfFaceName[0] = '\0';
  }
  font.lfFaceName[LF_FACESIZE - 1] = '\0';
  return font;
}

bool StyleFontSet::Create(const PrintJob& job) {
  Release();
  LOGFONTA base = BaseLogFont(job);
  bool made = Make(base, kPlain);
  made = Make(base, kUnderline) && made;
  made = Make(base, kBold | kUnderline) && made;
  made = Make(base, kBold) && made;
  if (fonts_[kPlain]) SelectFont(job.deviceContext.get(), fonts_[kPlain].get());
  return made;
}

bool StyleFontSet::Make(const LOGFONTA& base, LineAttr attribute) {
  LOGFONTA font = base;
  font.lfWeight = (attribute & kBold) ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = (attribute & kUnderline) ? 1 : 0;
  fonts_[attribute].reset(CreateFontIndirectA(&font));
  if (fonts_[attribute]) return true;
  DebugLog("CreateFontIndirect(%s, height %d, weight %d, underline %d) failed - GetLastError() = %d\n",
           font.lfFaceName, static_cast<int>(font.lfHeight), static_cast<int>(font.lfWeight),
           font.lfUnderline, static_cast<int>(GetLastError()));
  return false;
}

// The first font selected into the device context displaces its own font,
// which Release puts back.
void StyleFontSet::SelectFont(HDC dc, HFONT font) {
  if (font == selected_) return;
  if (original_) {
    HGDIOBJ previous = SelectObject(dc, font);
    if (previous && previous != HGDI_ERROR) selected_ = font;
  } else {
    original_ = UniqueSelection(dc, font);
    if (original_) selected_ = font;
  }
}

void StyleFontSet::Select(HDC dc, LineAttr attribute) {
  HFONT font = fonts_[attribute & 3].get();
  if (!font) font = fonts_[kPlain].get();
  if (font) SelectFont(dc, font);
}

void StyleFontSet::Release() {
  selected_ = nullptr;
  original_.reset();
  for (UniqueFont& font : fonts_) font.reset();
}

// The 16-bit count of a packet limits it to 65535 bytes; a longer run goes
// in several packets. An empty run still sends one packet.
void SendPassThrough(HDC dc, const char* text, int length) {
  int sent = 0;
  do {
    int size = std::min(length - sent, 0xFFFF);
    char* packet = ScratchOf(g_packet, static_cast<size_t>(size) + 2);
    packet[0] = static_cast<char>(size & 0xFF);
    packet[1] = static_cast<char>((size >> 8) & 0xFF);
    if (size > 0) memcpy(packet + 2, text + sent, static_cast<size_t>(size));
    Escape(dc, PASSTHROUGH, 0, packet, nullptr);
    sent += size;
  } while (sent < length);
}

// The run's characters in the character set the job asks for; OEM
// translation wins when both are on.
const char* TranslatedText(const PrintJob& job, const char* text, int length) {
  if (!job.oemTranslation && !job.ansiTranslation) return text;
  char* translated = ScratchOf(g_translated, static_cast<size_t>(length) + 1);
  if (job.oemTranslation) {
    CharToOemBuffA(text, translated, static_cast<DWORD>(length));
  } else {
    OemToCharBuffA(text, translated, static_cast<DWORD>(length));
  }
  translated[length] = '\0';
  return translated;
}

}  // namespace

bool CreateStyleFonts(const PrintJob& job) { return g_styleFonts.Create(job); }

void ReleaseStyleFonts() { g_styleFonts.Release(); }

void ReselectStyleFonts() { g_styleFonts.ForgetSelection(); }

bool GetGridMetrics(HDC dc, int& advance, int& lineHeight) {
  TEXTMETRICA tm{};
  if (!GetTextMetricsA(dc, &tm)) {
    advance = 0;
    lineHeight = 0;
    return false;
  }
  advance = tm.tmAveCharWidth;
  lineHeight = tm.tmHeight + tm.tmExternalLeading;
  return true;
}

void PutRun(const PrintJob& job, LineAttr attribute, int x, int y, const char* text, int length) {
  if (length < 0 || (length > 0 && !text)) {
    DebugLog("PutRun: no text to put (length %d)\n", length);
    return;
  }
  if (job.raw) {
    SendPassThrough(job.deviceContext.get(), text, length);
    return;
  }
  g_styleFonts.Select(job.deviceContext.get(), attribute);
  TextOutA(job.deviceContext.get(), x, y, TranslatedText(job, text, length), length);
}

void WriteReportLine(const PrintJob& job, const char* line, int count, int row, int advance,
                     int lineHeight) {
  DecodedLine decoded;
  DecodeOverstrike(line, count, decoded);
  int column = 0;
  do {
    int length = RunLength(decoded, column);
    PutRun(job, decoded.attributes[column], column * advance, row * lineHeight, decoded.text + column,
           length);
    column += length;
  } while (column < decoded.length);
}

}  // namespace plenwick
