#include "platform/linux/font.h"

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
constexpr int kStockCellHeight = 100;  // device units: a third of an inch
constexpr int kDeviceUnitsPerInch = 300;

// Text metrics flags of TEXTMETRICA.tmPitchAndFamily; the pitch bit set
// means a variable pitch.
constexpr BYTE kVariablePitchBit = 0x01;
constexpr BYTE kVector = 0x02;
constexpr BYTE kTrueType = 0x04;
constexpr BYTE kFamilySwiss = 0x20;

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
double EmHeight(LONG height, const FaceUnits& units) {
  double cellPerEm = (units.ascent + units.descent) / units.unitsPerEm;
  if (height < 0) return -height;
  if (height == 0) height = kStockCellHeight;
  return std::round(height / cellPerEm);
}

UniquePattern MatchPattern(const LOGFONTA& logical) {
  UniquePattern pattern(FcPatternCreate());
  if (!pattern) return UniquePattern();
  char face[LF_FACESIZE + 1] = "";
  memcpy(face, logical.lfFaceName, LF_FACESIZE);
  FcPatternAddString(pattern.get(), FC_FAMILY,
                     reinterpret_cast<const FcChar8*>(face[0] ? face : kDefaultFace));
  int weight = logical.lfWeight == FW_DONTCARE ? FW_NORMAL : static_cast<int>(logical.lfWeight);
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, logical.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return UniquePattern(FcFontMatch(nullptr, pattern.get(), &result));
}

cairo_scaled_font_t* ScaledFont(cairo_font_face_t* face, double emHeight) {
  cairo_matrix_t size, identity;
  cairo_matrix_init_scale(&size, emHeight, emHeight);
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

LONG Scale(double fontUnits, double emHeight, const FaceUnits& units) {
  return static_cast<LONG>(std::lround(fontUnits * emHeight / units.unitsPerEm));
}

}  // namespace

bool Font::Realize() {
  if (tried_) return static_cast<bool>(scaled_);
  tried_ = true;
  UniquePattern match = MatchPattern(logical_);
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

  double em = EmHeight(logical_.lfHeight, units);
  scaled_.reset(ScaledFont(face.get(), em));
  if (!scaled_) return false;

  TEXTMETRICA& tm = metrics_;
  tm = TEXTMETRICA{};
  tm.tmAscent = Scale(units.ascent, em, units);
  tm.tmDescent = Scale(units.descent, em, units);
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = tm.tmHeight - static_cast<LONG>(em);
  tm.tmExternalLeading = Scale(units.externalLeading, em, units);
  tm.tmAveCharWidth = Scale(units.averageWidth, em, units);
  tm.tmMaxCharWidth = Scale(units.maxWidth, em, units);
  int weight = 0;
  FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
  tm.tmWeight = FcWeightToOpenType(weight);
  tm.tmDigitizedAspectX = kDeviceUnitsPerInch;
  tm.tmDigitizedAspectY = kDeviceUnitsPerInch;
  tm.tmFirstChar = 30;
  tm.tmLastChar = 255;
  tm.tmDefaultChar = 31;
  tm.tmBreakChar = 32;
  tm.tmItalic = logical_.lfItalic;
  tm.tmUnderlined = logical_.lfUnderline;
  tm.tmStruckOut = logical_.lfStrikeOut;
  int spacing = FC_PROPORTIONAL;
  FcPatternGetInteger(match.get(), FC_SPACING, 0, &spacing);
  bool fixed = spacing == FC_MONO || spacing == FC_CHARCELL;
  tm.tmPitchAndFamily = static_cast<BYTE>((fixed ? FF_MODERN : kFamilySwiss | kVariablePitchBit) |
                                          kVector | (units.trueType ? kTrueType : 0));

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
    face_ = reinterpret_cast<const char*>(family);
  }
  return true;
}

LOGFONTA StockLogFont() {
  LOGFONTA logical{};
  logical.lfHeight = kStockCellHeight;
  logical.lfWeight = FW_NORMAL;
  logical.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  return logical;
}

}  // namespace linux_platform
