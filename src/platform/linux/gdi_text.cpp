// Fonts and text: CreateFontIndirectA keeps the logical font, which is
// matched the first time its metrics or glyphs are needed; TextOutA draws
// with it into the open page.
#include <cstring>
#include <string>

#include "platform/linux/device_context.h"
#include "platform/winapi/common.h"
#include "platform/winapi/handle_table.h"

namespace {

// The glyph of a UTF-16 character (a surrogate pair read as one, i moved
// past it) from the face or its fallback.
linux_platform::FontFace::Drawn GlyphOf(linux_platform::Font& font, const WCHAR* text, int count,
                                        int& i) {
  uint32_t c = text[i];
  if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
    c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
  }
  return font.face().glyphFor(c);
}

winapi::HandleTable<linux_platform::Font> g_fonts(winapi::HandleKind::kFont);

// The handle of the font selected into dc. A device context's stock font
// answers as a handle of its own.
HGDIOBJ SelectedHandle(linux_platform::DeviceContext& dc) {
  return dc.selected ? dc.selectedHandle : static_cast<HGDIOBJ>(&dc.stockFont);
}

// The width of a run's glyphs: an opaque background is a box behind them,
// a cell high.
double RunWidth(linux_platform::Font& font, const char* text, int count) {
  double width = 0;
  for (int i = 0; i < count; ++i)
    width += font.face().glyphAdvance(static_cast<unsigned char>(text[i]));
  return width;
}

double RunWidth(linux_platform::Font& font, const WCHAR* text, int count) {
  double width = 0;
  for (int i = 0; i < count; ++i) width += font.face().glyphFor(text[i]).advance;
  return width;
}

// The run's width when the caller places each character itself.
template <typename Character>
double RunWidth(linux_platform::Font& font, const Character* text, int count, const INT* dx) {
  if (!dx) return RunWidth(font, text, count);
  double width = 0;
  for (int i = 0; i < count; ++i) width += dx[i];
  return width;
}

// Where the next glyph goes: after its own advance, or in the cells the
// caller gave each character (dx), whatever the face's widths.
class Pen {
 public:
  Pen(double x, const INT* dx) : at_(x), dx_(dx) {}
  double at() const { return at_; }
  // Past characters first to last, whose glyph advances by own.
  void Move(int first, int last, double own) {
    if (!dx_) at_ += own;
    for (int i = first; dx_ && i <= last; ++i) at_ += dx_[i];
  }

 private:
  double at_;
  const INT* dx_;
};

// Draws text with its cell's top left corner at (x, y): the background
// box first unless the background is transparent, then the glyphs, then
// the underline. Glyphs advance by their own unrounded widths, as the
// Windows PostScript driver places them, so a run reads the same on both;
// with dx each character starts in the cells the caller gave it.
template <typename Character>
BOOL DrawText(linux_platform::DeviceContext& dc, linux_platform::Font& font, int x, int y,
              const Character* text, int count, const INT* dx) {
  linux_platform::PdfDocument& pages = *dc.document->pages;
  if (dc.backgroundMode == OPAQUE) {
    pages.ClearRectangle(x, y, RunWidth(font, text, count, dx), font.metrics().tmHeight);
  }
  double baseline = y + font.metrics().tmAscent;
  Pen pen(x, dx);
  if constexpr (sizeof(Character) == 1) {
    // An ANSI run is drawn with the face's own glyphs alone: they go in
    // together, a report's lines being mostly such runs.
    const linux_platform::FontFace& face = font.face();
    cairo_glyph_t* glyphs = pages.AddGlyphs(face.scaled(), static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      auto byte = static_cast<unsigned char>(text[i]);
      glyphs[i] = cairo_glyph_t{face.glyphIndex(byte), pen.at(), baseline};
      pen.Move(i, i, face.glyphAdvance(byte));
    }
  } else {
    for (int i = 0; i < count; ++i) {
      int first = i;
      linux_platform::FontFace::Drawn glyph = GlyphOf(font, text, count, i);
      pages.AddGlyph(glyph.font, glyph.index, pen.at(), baseline);
      pen.Move(first, i, glyph.advance);
    }
  }
  if (font.logical().lfUnderline) {
    double thickness = font.face().underlineThickness();
    pages.FillRectangle(x, baseline + font.face().underlinePosition() - thickness / 2, pen.at() - x,
                        thickness);
  }
  return TRUE;
}

}  // namespace

HFONT CreateFontIndirectA(const LOGFONTA* logical) {
  if (!logical) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return g_fonts.Add<HFONT>(std::make_unique<linux_platform::Font>(*logical));
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  linux_platform::DeviceContext* dc = linux_platform::FindDeviceContext(handle);
  if (!dc) return HGDI_ERROR;
  linux_platform::Font* font = nullptr;
  if (object == static_cast<HGDIOBJ>(&dc->stockFont)) {
    font = &dc->stockFont;
  } else {
    font = g_fonts.Find(object);
  }
  // An object that is no font (or no longer one) selects nothing.
  if (!font) return nullptr;
  HGDIOBJ previous = SelectedHandle(*dc);
  dc->selected = font->stock ? nullptr : font;
  dc->selectedHandle = font->stock ? nullptr : object;
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  std::unique_ptr<linux_platform::Font> font = g_fonts.Remove(object);
  if (!font) return FALSE;
  // A font deleted while selected leaves its device context with the
  // stock font rather than a dangling one.
  linux_platform::DeselectEverywhere(font.get());
  return TRUE;
}

BOOL GetTextMetricsA(HDC handle, LPTEXTMETRICA metrics) {
  linux_platform::DeviceContext* dc = linux_platform::FindDeviceContext(handle);
  if (!dc || !metrics) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  linux_platform::Font& font = dc->CurrentFont();
  if (!font.Realize()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  *metrics = font.metrics();
  return TRUE;
}

int GetTextFaceA(HDC handle, int count, LPSTR face) {
  linux_platform::DeviceContext* dc = linux_platform::FindDeviceContext(handle);
  if (!dc) return 0;
  linux_platform::Font& font = dc->CurrentFont();
  if (!font.Realize()) return 0;
  return winapi::CopyFaceName(font.face().family(), count, face);
}

namespace {

// TextOutA and TextOutW alike: the characters are a run's bytes in the
// ANSI code page, or its UTF-16.
template <typename Character>
BOOL TextOutOf(HDC handle, int x, int y, const Character* text, int count,
               const INT* dx = nullptr) {
  linux_platform::DeviceContext* dc = linux_platform::FindDeviceContext(handle);
  if (!dc || !dc->document || !dc->document->pages->pageOpen() || count < 0 ||
      (count > 0 && !text)) {
    return FALSE;
  }
  linux_platform::Font& font = dc->CurrentFont();
  if (!font.Realize()) return FALSE;
  if (count == 0) return TRUE;
  return DrawText(*dc, font, x, y, text, count, dx);
}

}  // namespace

BOOL TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
  return TextOutOf(handle, x, y, text, count);
}

BOOL TextOutW(HDC handle, int x, int y, LPCWSTR text, int count) {
  return TextOutOf(handle, x, y, text, count);
}

BOOL ExtTextOutA(HDC handle, int x, int y, UINT, const RECT*, LPCSTR text, UINT count,
                 const INT* dx) {
  return TextOutOf(handle, x, y, text, static_cast<int>(count), dx);
}

BOOL ExtTextOutW(HDC handle, int x, int y, UINT, const RECT*, LPCWSTR text, UINT count,
                 const INT* dx) {
  return TextOutOf(handle, x, y, text, static_cast<int>(count), dx);
}

int SetBkMode(HDC handle, int mode) {
  linux_platform::DeviceContext* dc = linux_platform::FindDeviceContext(handle);
  return winapi::ChangeBackgroundMode(dc ? &dc->backgroundMode : nullptr, mode);
}

// Only the query itself is supported: a driver that writes PDF has no
// pass-through of raw printer data.
int Escape(HDC handle, int escape, int inputSize, LPCSTR input, LPVOID) {
  if (!linux_platform::FindDeviceContext(handle)) return 0;
  if (escape != QUERYESCSUPPORT || inputSize < static_cast<int>(sizeof(int32_t)) || !input)
    return 0;
  int32_t asked = 0;
  memcpy(&asked, input, sizeof asked);
  return asked == QUERYESCSUPPORT ? 1 : 0;
}
