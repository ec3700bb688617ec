#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "internal.h"
#include "platform/winapi/codepage.h"
#include "platform/winapi/common.h"

namespace {

// What a device context knows about text: its printer's own font and the
// font now selected into it.
struct DcText {
  HGDIOBJ selected;
  std::string face;
  int height;
  int aveCharWidth;
  int externalLeading;
  int pitchAndFamily;
  bool passThrough;
  int backgroundMode = OPAQUE;
};

simwin::HandleTable<LOGFONTA> g_fonts(simwin::HandleKind::kFont);
std::map<HDC, DcText> g_dcText;
std::vector<LOGFONTA> g_created;
bool g_failNextCreateFont = false;
size_t g_selectObjectCalls = 0;

// The device's own font, selected into every new device context. Like a
// stock object it is never counted and never deleted.
HGDIOBJ const kDeviceFont = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0x5FFFF0));

DcText* FindDc(HDC dc) {
  auto it = g_dcText.find(dc);
  return it == g_dcText.end() ? nullptr : &it->second;
}

// Windows' font mapper: a face of the machine is taken as it is; a missing
// one gives way to one of the pitch asked, a fixed one only for FIXED_PITCH.
bool DrawnFixed(const DcText& dc, const LOGFONTA* font) {
  if (!font || !font->lfFaceName[0] || dc.face == font->lfFaceName) return !(dc.pitchAndFamily & 1);
  if (strcmp(font->lfFaceName, "DejaVu Sans Mono") == 0) return true;
  if (strcmp(font->lfFaceName, "DejaVu Sans") == 0) return false;
  return (font->lfPitchAndFamily & 3) == FIXED_PITCH;
}

// ExtTextOut's advances and the pitch of the face drawn, recorded with the
// text when asked: the advances would grow the records as the text does.
std::vector<std::vector<int>> g_advances;
bool g_recordAdvances = false;

const LOGFONTA* SelectedFont(const DcText& dc) {
  return dc.selected == kDeviceFont ? nullptr : g_fonts.Find(dc.selected);
}

bool SelectedAnywhere(HGDIOBJ font) {
  for (const auto& entry : g_dcText) {
    if (entry.second.selected == font) return true;
  }
  return false;
}

// Metrics of a created font, derived from its height the way a scalable
// font behaves: a negative height is the character (em) height, a positive
// one the cell height, whose upper sixth or so is internal leading. The
// advance is the one asked for or 0.6 em, the same for bold, as with
// fixed-pitch faces. The external leading is the printer's.
TEXTMETRICA MetricsOf(const DcText& dc, const LOGFONTA* font) {
  TEXTMETRICA tm{};
  int height = dc.height;
  int em = height * 6 / 7;
  int width = dc.aveCharWidth;
  if (font && font->lfHeight < 0) {
    em = -font->lfHeight;
    height = em + (em + 3) / 6;
  } else if (font && font->lfHeight > 0) {
    height = font->lfHeight;
    em = height * 6 / 7;
  }
  if (font && (font->lfHeight != 0 || font->lfWidth != 0)) {
    width = font->lfWidth > 0 ? font->lfWidth : (em * 3 + 2) / 5;
  }
  tm.tmHeight = height;
  tm.tmAscent = height * 4 / 5;
  tm.tmDescent = height - tm.tmAscent;
  tm.tmInternalLeading = height - em;
  tm.tmExternalLeading = dc.externalLeading;
  tm.tmAveCharWidth = width;
  tm.tmMaxCharWidth = width;
  tm.tmWeight = font && font->lfWeight != FW_DONTCARE ? font->lfWeight : FW_NORMAL;
  tm.tmDigitizedAspectX = 300;
  tm.tmDigitizedAspectY = 300;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = '?';
  tm.tmBreakChar = ' ';
  tm.tmUnderlined = font ? font->lfUnderline : 0;
  tm.tmPitchAndFamily = static_cast<BYTE>(dc.pitchAndFamily);
  if (font) tm.tmPitchAndFamily = DrawnFixed(dc, font) ? FF_MODERN : FF_SWISS | 1;
  return tm;
}

}  // namespace

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (font) g_created.push_back(*font);
  if (!font || g_failNextCreateFont) {
    g_failNextCreateFont = false;
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto copy = std::make_unique<LOGFONTA>(*font);
  copy->lfFaceName[LF_FACESIZE - 1] = '\0';
  return g_fonts.Add<HFONT>(std::move(copy));
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  DcText* text = FindDc(dc);
  if (!text || (object != kDeviceFont && !g_fonts.Find(object))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  ++g_selectObjectCalls;
  HGDIOBJ previous = text->selected;
  text->selected = object;
  return previous;
}

// As on Windows, a font that is still selected into a device context is
// not deleted, and the device's own font is never deleted.
BOOL DeleteObject(HGDIOBJ object) {
  if (object == kDeviceFont) return TRUE;
  if (!g_fonts.Find(object) || SelectedAnywhere(object)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  g_fonts.Remove(object);
  return TRUE;
}

BOOL GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) {
  const DcText* text = FindDc(dc);
  if (!text || !metrics) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *metrics = MetricsOf(*text, SelectedFont(*text));
  return TRUE;
}

int GetTextFaceA(HDC dc, int count, LPSTR face) {
  const DcText* text = FindDc(dc);
  if (!text) return 0;
  const LOGFONTA* font = SelectedFont(*text);
  return winapi::CopyFaceName(font && font->lfFaceName[0] ? font->lfFaceName : text->face, count,
                              face);
}

namespace {

BOOL RecordText(HDC dc, int x, int y, std::string text, bool wide) {
  const DcText* state = FindDc(dc);
  if (!state) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const LOGFONTA* font = SelectedFont(*state);
  simwin::GdiEvent event{};
  event.kind = simwin::GdiEvent::kText;
  event.dc = dc;
  event.x = x;
  event.y = y;
  event.text = std::move(text);
  event.result = TRUE;
  event.face = font && font->lfFaceName[0] ? font->lfFaceName : state->face;
  event.height = font ? font->lfHeight : state->height;
  event.weight = font && font->lfWeight != FW_DONTCARE ? font->lfWeight : FW_NORMAL;
  event.underline = font && font->lfUnderline;
  event.transparent = state->backgroundMode == TRANSPARENT;
  event.wide = wide;
  event.fixedPitch = DrawnFixed(*state, font);
  simwin::detail::RecordGdiEvent(event);
  return TRUE;
}

}  // namespace

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  if (count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return RecordText(dc, x, y, std::string(text ? text : "", static_cast<size_t>(count)), false);
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
  if (count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string utf8;
  for (int i = 0; i < count; ++i) {
    uint32_t c = text[i];
    // A surrogate pair is one character.
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    winapi::AppendUtf8(utf8, c);
  }
  return RecordText(dc, x, y, std::move(utf8), true);
}

template <typename Character>
BOOL ExtTextOutOf(BOOL (*textOut)(HDC, int, int, const Character*, int), HDC dc, int x, int y,
                  const Character* text, UINT count, const INT* dx) {
  if (g_recordAdvances) g_advances.emplace_back(dx, dx ? dx + count : dx);
  return textOut(dc, x, y, text, static_cast<int>(count));
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT, const RECT*, LPCSTR text, UINT count, const INT* dx) {
  return ExtTextOutOf(TextOutA, dc, x, y, text, count, dx);
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT, const RECT*, LPCWSTR text, UINT count, const INT* dx) {
  return ExtTextOutOf(TextOutW, dc, x, y, text, count, dx);
}

int SetBkMode(HDC dc, int mode) {
  DcText* state = FindDc(dc);
  return winapi::ChangeBackgroundMode(state ? &state->backgroundMode : nullptr, mode);
}

// QUERYESCSUPPORT answers for the escapes this printer knows; PASSTHROUGH
// takes a packet whose first word counts the bytes after it (the input size
// is not used, as with the 16-bit drivers) and records them.
int Escape(HDC dc, int escape, int, LPCSTR input, LPVOID) {
  const DcText* state = FindDc(dc);
  if (!state) return -1;  // SP_ERROR
  if (escape == QUERYESCSUPPORT) {
    int32_t asked = 0;
    if (input) memcpy(&asked, input, sizeof asked);
    if (asked == QUERYESCSUPPORT) return 1;
    return asked == PASSTHROUGH && state->passThrough ? 1 : 0;
  }
  if (escape != PASSTHROUGH || !state->passThrough || !input) return 0;
  const unsigned char* packet = reinterpret_cast<const unsigned char*>(input);
  int count = packet[0] | (packet[1] << 8);
  simwin::GdiEvent event{};
  event.kind = simwin::GdiEvent::kEscape;
  event.dc = dc;
  event.escape = PASSTHROUGH;
  event.text.assign(input + 2, static_cast<size_t>(count));
  event.result = count;
  simwin::detail::RecordGdiEvent(event);
  return count;
}

namespace simwin {
namespace detail {

void TextOnCreateDC(HDC dc, const PrinterSpec& printer) {
  g_dcText[dc] = DcText{kDeviceFont,
                        printer.faceName,
                        printer.tmHeight,
                        printer.tmAveCharWidth,
                        printer.tmExternalLeading,
                        printer.tmPitchAndFamily,
                        printer.passThrough};
}

void TextOnDeleteDC(HDC dc) { g_dcText.erase(dc); }

}  // namespace detail

size_t LiveFonts() { return g_fonts.Count(); }
size_t SelectObjectCalls() { return g_selectObjectCalls; }
const std::vector<LOGFONTA>& CreatedFonts() { return g_created; }
void FailNextCreateFont() { g_failNextCreateFont = true; }
void RecordAdvances() { g_recordAdvances = true; }
const std::vector<std::vector<int>>& RecordedAdvances() { return g_advances; }

namespace detail {

void ResetGdiText() {
  g_fonts.Clear();
  g_dcText.clear();
  g_created.clear();
  g_failNextCreateFont = false;
  g_recordAdvances = false;
  g_advances.clear();
  g_selectObjectCalls = 0;
}

}  // namespace detail
}  // namespace simwin
