// A font face matched by fontconfig and scaled with cairo-ft: the face that
// best matches a family, weight and slant, scaled to a height in device
// units, with metrics computed as the Windows font mapper computes them
// from the same font tables, so line heights agree with Windows.
#pragma once

#include <cairo.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/cups_cairo/owners.h"

namespace linux_platform {

// The cell height of a request that names none, in device units: a third
// of an inch.
constexpr long kStockCellHeight = 100;

struct FontRequest {
  std::string family;  // empty: the fixed-pitch face
  // Negative: the character height; positive: the cell height; 0: the
  // stock cell height.
  long height = 0;
  int weight = 0;  // OpenType weight, 0 for normal
  bool italic = false;
  // A missing family gives way to a fixed-pitch face, as Windows' font
  // mapper does for FIXED_PITCH, rather than to the system's default face.
  bool fixedPitch = false;
};

// In device units.
struct FaceMetrics {
  long ascent = 0, descent = 0;
  long internalLeading = 0, externalLeading = 0;
  long averageWidth = 0, maxWidth = 0;
  int weight = 0;
  bool fixedPitch = false;
  bool trueType = false;
};

class FontFace {
 public:
  explicit FontFace(FontRequest request) : request_(std::move(request)) {}
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // Matches and scales the face the first time it is needed. False when
  // fontconfig finds no usable face.
  bool Realize();

  const FaceMetrics& metrics() const { return metrics_; }
  const std::string& family() const { return family_; }
  cairo_scaled_font_t* scaled() const { return scaled_.get(); }
  // The glyph that draws a code page 1252 byte, and how far it advances,
  // in device units. Looked up once for all 256 bytes when the face is
  // realized: a report draws the same few glyphs millions of times.
  unsigned long glyphIndex(unsigned char byte) const { return glyphs_[byte].index; }
  double glyphAdvance(unsigned char byte) const { return glyphs_[byte].advance; }
  // The glyph that draws a Unicode character: this face's, or when it
  // has none that of the face fontconfig finds for it, of the same weight
  // and size; when no installed face has it, this face's missing-glyph box.
  struct Drawn {
    cairo_scaled_font_t* font;
    unsigned long index;
    double advance;
  };
  Drawn glyphFor(uint32_t codePoint);
  // Below the baseline, in device units.
  double underlinePosition() const { return underlinePosition_; }
  double underlineThickness() const { return underlineThickness_; }

 private:
  bool FitAdvanceToCell(cairo_font_face_t* face, double em, long cell);

  FontRequest request_;
  bool tried_ = false;
  UniqueScaledFont scaled_;
  FaceMetrics metrics_;
  std::string family_;
  double underlinePosition_ = 0;
  double underlineThickness_ = 1;
  struct Glyph {
    unsigned long index = 0;
    double advance = 0;
  };
  Glyph glyphs_[256];
  double em_ = 0;
  // Faces found for characters this one lacks, by their file, and what each
  // character drew with: a report draws the same few again and again.
  std::map<std::string, UniqueScaledFont> fallbacks_;
  std::map<uint32_t, Drawn> drawn_;
};

}  // namespace linux_platform
