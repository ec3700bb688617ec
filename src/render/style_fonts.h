// The four style fonts of a report file, indexed by LineAttr, and the
// device context's own font, put back before they are deleted.
#pragma once

#include "core/print_job.h"
#include "platform/handles.h"
#include "platform/win32.h"
#include "render/overstrike.h"

namespace plenwick {

class StyleFonts {
 public:
  StyleFonts() = default;
  StyleFonts(const StyleFonts&) = delete;
  StyleFonts& operator=(const StyleFonts&) = delete;
  ~StyleFonts() { Release(); }

  // Makes the fonts on dc from one logical font (see CreateStyleFonts) and
  // selects the regular one. False when a font could not be made.
  bool Create(const PrintJob& job, HDC dc);
  // Puts the device context's own font back and deletes the fonts.
  void Release();
  // Selects the font of a style (the regular one when that style's font
  // could not be made).
  void Select(HDC dc, LineAttr attribute);
  // The next Select selects even the font already selected.
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

}  // namespace plenwick
