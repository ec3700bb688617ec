// A logical font realized through fontconfig and cairo-ft: the face that
// best matches its name, weight and slant, scaled to its height in device
// units, with metrics computed as the Windows font mapper computes them
// from the same font tables, so line heights agree with Windows.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "platform/linux/backend/owners.h"
#include "platform/winapi/winapi.h"

namespace linux_platform {

class Font {
 public:
  Font() = default;
  explicit Font(const LOGFONTA& logical, bool isStock = false)
      : stock(isStock), logical_(logical) {}
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Matches and scales the font the first time it is needed. False when
  // fontconfig finds no usable face.
  bool Realize();

  const LOGFONTA& logical() const { return logical_; }
  const TEXTMETRICA& metrics() const { return metrics_; }
  const std::string& face() const { return face_; }
  cairo_scaled_font_t* scaled() const { return scaled_.get(); }
  // The glyph that draws a code page 1252 byte, and how far it advances,
  // in device units. Looked up once for all 256 bytes when the font is
  // realized: a report draws the same few glyphs millions of times.
  unsigned long glyphIndex(unsigned char byte) const { return glyphs_[byte].index; }
  double glyphAdvance(unsigned char byte) const { return glyphs_[byte].advance; }
  // Below the baseline, in device units.
  double underlinePosition() const { return underlinePosition_; }
  double underlineThickness() const { return underlineThickness_; }
  const bool stock = false;  // the device context's own font

 private:
  LOGFONTA logical_{};
  bool tried_ = false;
  UniqueScaledFont scaled_;
  TEXTMETRICA metrics_{};
  std::string face_;
  double underlinePosition_ = 0;
  double underlineThickness_ = 1;
  struct Glyph {
    unsigned long index = 0;
    double advance = 0;
  };
  Glyph glyphs_[256];
};

// The device context's own font: the fixed-pitch face, one third of an
// inch from line to line, as the Windows driver of a PDF printer gives it.
LOGFONTA StockLogFont();

}  // namespace linux_platform
