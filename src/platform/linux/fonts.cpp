// Fonts as handles: CreateFontIndirectA keeps the logical font, which is
// matched the first time its metrics or glyphs are needed.
#include <cstring>

#include "platform/linux/device_context.h"
#include "platform/linux/live_objects.h"

namespace {

linux_platform::LiveObjects<linux_platform::Font> g_fonts;

// A device context's stock font answers as a handle of its own.
HGDIOBJ HandleOf(linux_platform::DeviceContext& dc, linux_platform::Font& font) {
  return &font == &dc.stockFont ? static_cast<HGDIOBJ>(&dc.stockFont) : static_cast<HGDIOBJ>(&font);
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
  if (!font) return HGDI_ERROR;
  HGDIOBJ previous = HandleOf(*dc, dc->CurrentFont());
  dc->selected = font->stock ? nullptr : font;
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
  if (!dc || !face || count <= 0) return 0;
  linux_platform::Font& font = dc->CurrentFont();
  if (!font.Realize()) return 0;
  // Cut to the buffer, always terminated.
  size_t length = std::min(font.face().size(), static_cast<size_t>(count - 1));
  memcpy(face, font.face().data(), length);
  face[length] = '\0';
  return static_cast<int>(length + 1);
}
