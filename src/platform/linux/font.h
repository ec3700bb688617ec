// A logical font of a device context: the face its LOGFONTA asks for, with
// the face's metrics as TEXTMETRICA.
#pragma once

#include "platform/linux/cups_cairo/font_face.h"
#include "platform/winapi/winapi.h"

namespace linux_platform {

class Font {
 public:
  explicit Font(const LOGFONTA& logical, bool isStock = false);
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Matches and scales the font the first time it is needed. False when
  // no usable face is found.
  bool Realize();

  const LOGFONTA& logical() const { return logical_; }
  const TEXTMETRICA& metrics() const { return metrics_; }
  const FontFace& face() const { return face_; }
  FontFace& face() { return face_; }
  const bool stock = false;  // the device context's own font

 private:
  LOGFONTA logical_{};
  FontFace face_;
  TEXTMETRICA metrics_{};
};

// The device context's own font: the fixed-pitch face, one third of an
// inch from line to line, as the Windows driver of a PDF printer gives it.
LOGFONTA StockLogFont();

}  // namespace linux_platform
