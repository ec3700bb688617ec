#include "platform/linux/cups_cairo/font_face.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/winapi/codepage.h"

namespace linux_platform {
namespace {

constexpr char kDefaultFace[] = "monospace";
constexpr int kNormalWeight = 400;

// The font units the Windows mapper measures a face by.
struct FaceUnits {
  double unitsPerEm = 2048;
  double ascent = 0, descent = 0;  // usWinAscent / usWinDescent
  double externalLeading = 0;
  double averageWidth = 0;
  double maxWidth = 0;
  double underlinePosition = 0, underlineThickness = 0;
  bool trueType = false;
};

FaceUnits ReadFaceUnits(FT_Face face) {
  FaceUnits units;
  units.unitsPerEm = face->units_per_EM ? face->units_per_EM : 2048;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    units.ascent = os2->usWinAscent;
    units.descent = os2->usWinDescent;
    units.averageWidth = os2->xAvgCharWidth;
  } else {
    units.ascent = face->ascender;
    units.descent = -face->descender;
  }
  if (hhea) {
    // The leading the face asks for beyond what its Windows ascent and
    // descent already hold.
    double hheaHeight = hhea->Ascender - hhea->Descender;
    units.externalLeading =
        std::max(0.0, hhea->Line_Gap - ((units.ascent + units.descent) - hheaHeight));
  }
  if (units.averageWidth <= 0) units.averageWidth = face->max_advance_width;
  units.maxWidth = face->bbox.xMax - face->bbox.xMin;
  units.underlinePosition = -face->underline_position;
  units.underlineThickness = face->underline_thickness;
  units.trueType = os2 != nullptr;
  return units;
}

// The em height in device units that the logical height asks for: a
// negative height is the character height, a positive one the cell height.
double EmHeight(long height, const FaceUnits& units) {
  double cellPerEm = (units.ascent + units.descent) / units.unitsPerEm;
  if (height < 0) return -height;
  if (height == 0) height = kStockCellHeight;
  return std::round(height / cellPerEm);
}

UniquePattern MatchPattern(const FontRequest& request) {
  UniquePattern pattern(FcPatternCreate());
  if (!pattern) return UniquePattern();
  const char* family = request.family.empty() ? kDefaultFace : request.family.c_str();
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  if (request.fixedPitch) {
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("monospace"));
  }
  int weight = request.weight == 0 ? kNormalWeight : request.weight;
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return UniquePattern(FcFontMatch(nullptr, pattern.get(), &result));
}

// widthScale narrows or widens the glyphs, and their advances with them.
cairo_scaled_font_t* ScaledFont(cairo_font_face_t* face, double emHeight, double widthScale = 1) {
  cairo_matrix_t size, identity;
  cairo_matrix_init_scale(&size, emHeight * widthScale, emHeight);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &size, &identity, options);
  cairo_font_options_destroy(options);
  if (cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(scaled);
    return nullptr;
  }
  return scaled;
}

// The UTF-8 form of a code page byte's character.
std::string Utf8Of(unsigned char byte) {
  std::string utf8;
  winapi::AppendUtf8(utf8, winapi::AnsiToUnicode(byte));
  return utf8;
}

long Scale(double fontUnits, double emHeight, const FaceUnits& units) {
  return std::lround(fontUnits * emHeight / units.unitsPerEm);
}

// This font's glyph for UTF-8 text of one character; 0 when it has none.
bool GlyphOf(cairo_scaled_font_t* font, const std::string& utf8, unsigned long& index,
             double& advance) {
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  bool found = cairo_scaled_font_text_to_glyphs(
                   font, 0, 0, utf8.data(), static_cast<int>(utf8.size()), &glyphs, &count, nullptr,
                   nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
               count == 1 && glyphs[0].index != 0;
  if (found) {
    cairo_text_extents_t extents{};
    cairo_scaled_font_glyph_extents(font, glyphs, 1, &extents);
    index = glyphs[0].index;
    advance = extents.x_advance;
  }
  cairo_glyph_free(glyphs);
  return found;
}

// The installed face fontconfig picks for a character, as a pattern that
// names its file; null when none has the character.
UniquePattern MatchFallback(const FontRequest& request, uint32_t codePoint) {
  UniquePattern pattern(FcPatternCreate());
  UniqueCharSet wanted(FcCharSetCreate());
  if (!pattern || !wanted) return UniquePattern();
  FcCharSetAddChar(wanted.get(), codePoint);
  FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
  const char* family = request.family.empty() ? kDefaultFace : request.family.c_str();
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  int weight = request.weight == 0 ? kNormalWeight : request.weight;
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  UniquePattern match(FcFontMatch(nullptr, pattern.get(), &result));
  FcCharSet* has = nullptr;
  if (!match || FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &has) != FcResultMatch ||
      !FcCharSetHasChar(has, codePoint)) {
    return UniquePattern();
  }
  return match;
}

}  // namespace

// The grid steps by the face's average width in whole device units, and
// each character is placed in its cell. A fixed face's own advance is a
// fraction off that step (5.42 points against 5.40), so every glyph would
// need a position of its own in the document, four times the bytes for a
// report. Drawn a hair narrower or wider, its advance is the step itself:
// the glyphs land in their cells at their own advance, and a run is placed
// as one. False when the face cannot be made at that width.
bool FontFace::FitAdvanceToCell(cairo_font_face_t* face, double em, long cell) {
  unsigned long index = 0;
  double advance = 0;
  if (cell <= 0 || !GlyphOf(scaled_.get(), "0", index, advance) || advance <= 0) return true;
  double scale = cell / advance;
  if (std::fabs(scale - 1) > 0.1) return true;  // not the face the step was taken from
  scaled_.reset(ScaledFont(face, em, scale));
  return static_cast<bool>(scaled_);
}

FontFace::Drawn FontFace::glyphFor(uint32_t codePoint) {
  if (codePoint < 0x80) return Drawn{scaled(), glyphIndex(codePoint), glyphAdvance(codePoint)};
  auto known = drawn_.find(codePoint);
  if (known != drawn_.end()) return known->second;
  std::string utf8;
  winapi::AppendUtf8(utf8, codePoint);
  // Not found anywhere: the missing-glyph box, one cell wide.
  Drawn drawn{scaled(), 0, static_cast<double>(metrics_.averageWidth)};
  if (!GlyphOf(scaled(), utf8, drawn.index, drawn.advance)) {
    UniquePattern match = MatchFallback(request_, codePoint);
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch) {
      UniqueScaledFont& fallback = fallbacks_[reinterpret_cast<const char*>(file)];
      if (!fallback) {
        UniqueFontFace face(cairo_ft_font_face_create_for_pattern(match.get()));
        if (cairo_font_face_status(face.get()) == CAIRO_STATUS_SUCCESS) {
          fallback.reset(ScaledFont(face.get(), em_));
        }
      }
      if (fallback && GlyphOf(fallback.get(), utf8, drawn.index, drawn.advance))
        drawn.font = fallback.get();
    }
  }
  drawn_[codePoint] = drawn;
  return drawn;
}

bool FontFace::Realize() {
  if (tried_) return static_cast<bool>(scaled_);
  tried_ = true;
  UniquePattern match = MatchPattern(request_);
  if (!match) return false;
  UniqueFontFace face(cairo_ft_font_face_create_for_pattern(match.get()));
  if (cairo_font_face_status(face.get()) != CAIRO_STATUS_SUCCESS) return false;

  // The face's own units first, from a font of any size.
  UniqueScaledFont probe(ScaledFont(face.get(), 100));
  if (!probe) return false;
  FT_Face ftFace = cairo_ft_scaled_font_lock_face(probe.get());
  if (!ftFace) return false;
  FaceUnits units = ReadFaceUnits(ftFace);
  cairo_ft_scaled_font_unlock_face(probe.get());

  double em = EmHeight(request_.height, units);
  em_ = em;
  scaled_.reset(ScaledFont(face.get(), em));
  if (!scaled_) return false;

  FaceMetrics& m = metrics_;
  m = FaceMetrics{};
  m.ascent = Scale(units.ascent, em, units);
  m.descent = Scale(units.descent, em, units);
  m.internalLeading = m.ascent + m.descent - static_cast<long>(em);
  m.externalLeading = Scale(units.externalLeading, em, units);
  m.averageWidth = Scale(units.averageWidth, em, units);
  m.maxWidth = Scale(units.maxWidth, em, units);
  int weight = 0;
  FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
  m.weight = FcWeightToOpenType(weight);
  int spacing = FC_PROPORTIONAL;
  FcPatternGetInteger(match.get(), FC_SPACING, 0, &spacing);
  m.fixedPitch = spacing == FC_MONO || spacing == FC_CHARCELL;
  m.trueType = units.trueType;
  if (m.fixedPitch && !FitAdvanceToCell(face.get(), em, m.averageWidth)) return false;

  underlinePosition_ = units.underlinePosition * em / units.unitsPerEm;
  underlineThickness_ = std::max(1.0, units.underlineThickness * em / units.unitsPerEm);

  for (int byte = 0; byte < 256; ++byte) {
    std::string utf8 = Utf8Of(static_cast<unsigned char>(byte));
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    if (cairo_scaled_font_text_to_glyphs(scaled_.get(), 0, 0, utf8.data(),
                                         static_cast<int>(utf8.size()), &glyphs, &count, nullptr,
                                         nullptr, nullptr) != CAIRO_STATUS_SUCCESS) {
      return false;
    }
    if (count == 1) {
      cairo_text_extents_t extents{};
      cairo_scaled_font_glyph_extents(scaled_.get(), glyphs, 1, &extents);
      glyphs_[byte] = Glyph{glyphs[0].index, extents.x_advance};
    }
    cairo_glyph_free(glyphs);
  }

  FcChar8* family = nullptr;
  if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) == FcResultMatch) {
    family_ = reinterpret_cast<const char*>(family);
  }
  return true;
}

}  // namespace linux_platform
