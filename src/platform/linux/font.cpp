#include "platform/linux/font.h"

#include <cstring>

namespace linux_platform {
namespace {

constexpr int kDeviceUnitsPerInch = 300;

// Text metrics flags of TEXTMETRICA.tmPitchAndFamily; the pitch bit set
// means a variable pitch.
constexpr BYTE kVariablePitchBit = 0x01;
constexpr BYTE kVector = 0x02;
constexpr BYTE kTrueType = 0x04;
constexpr BYTE kFamilySwiss = 0x20;

FontRequest RequestOf(const LOGFONTA& logical) {
  FontRequest request;
  // The face name fills its field without a terminator at its longest.
  request.family.assign(logical.lfFaceName, strnlen(logical.lfFaceName, LF_FACESIZE));
  request.height = logical.lfHeight;
  request.weight = logical.lfWeight == FW_DONTCARE ? FW_NORMAL : static_cast<int>(logical.lfWeight);
  request.italic = logical.lfItalic != 0;
  request.fixedPitch = (logical.lfPitchAndFamily & 3) == FIXED_PITCH;
  return request;
}

}  // namespace

Font::Font(const LOGFONTA& logical, bool isStock)
    : stock(isStock), logical_(logical), face_(RequestOf(logical)) {}

bool Font::Realize() {
  if (!face_.Realize()) return false;
  const FaceMetrics& m = face_.metrics();
  TEXTMETRICA& tm = metrics_;
  tm = TEXTMETRICA{};
  tm.tmAscent = static_cast<LONG>(m.ascent);
  tm.tmDescent = static_cast<LONG>(m.descent);
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = static_cast<LONG>(m.internalLeading);
  tm.tmExternalLeading = static_cast<LONG>(m.externalLeading);
  tm.tmAveCharWidth = static_cast<LONG>(m.averageWidth);
  tm.tmMaxCharWidth = static_cast<LONG>(m.maxWidth);
  tm.tmWeight = m.weight;
  tm.tmDigitizedAspectX = kDeviceUnitsPerInch;
  tm.tmDigitizedAspectY = kDeviceUnitsPerInch;
  tm.tmFirstChar = 30;
  tm.tmLastChar = 255;
  tm.tmDefaultChar = 31;
  tm.tmBreakChar = 32;
  tm.tmItalic = logical_.lfItalic;
  tm.tmUnderlined = logical_.lfUnderline;
  tm.tmStruckOut = logical_.lfStrikeOut;
  tm.tmPitchAndFamily =
      static_cast<BYTE>((m.fixedPitch ? FF_MODERN : kFamilySwiss | kVariablePitchBit) | kVector |
                        (m.trueType ? kTrueType : 0));
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
