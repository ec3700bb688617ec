// Owners of the back end's libcups, cairo and fontconfig objects, one line
// each on the one owner template.
#pragma once

#include <cairo.h>
#include <cups/cups.h>
#include <fontconfig/fontconfig.h>

#include "platform/unique_any.h"

namespace linux_platform {

// A destination as cupsGetNamedDest hands it out: a list of one.
inline void FreeOneDest(cups_dest_t* dest) { cupsFreeDests(1, dest); }

using UniqueDest = plenwick::UniqueAny<cups_dest_t*, FreeOneDest>;
using UniqueDestInfo = plenwick::UniqueAny<cups_dinfo_t*, cupsFreeDestInfo>;
using UniqueHttp = plenwick::UniqueAny<http_t*, httpClose>;
using UniqueCairo = plenwick::UniqueAny<cairo_t*, cairo_destroy>;
using UniqueSurface = plenwick::UniqueAny<cairo_surface_t*, cairo_surface_destroy>;
using UniqueScaledFont = plenwick::UniqueAny<cairo_scaled_font_t*, cairo_scaled_font_destroy>;
using UniqueFontFace = plenwick::UniqueAny<cairo_font_face_t*, cairo_font_face_destroy>;
using UniquePattern = plenwick::UniqueAny<FcPattern*, FcPatternDestroy>;
using UniqueCharSet = plenwick::UniqueAny<FcCharSet*, FcCharSetDestroy>;

// Options for a job, freed with their count.
class CupsOptions {
 public:
  CupsOptions() = default;
  ~CupsOptions() { cupsFreeOptions(count_, options_); }
  CupsOptions(const CupsOptions&) = delete;
  CupsOptions& operator=(const CupsOptions&) = delete;
  void Add(const char* name, const char* value) {
    count_ = cupsAddOption(name, value, count_, &options_);
  }
  int count() const { return count_; }
  cups_option_t* options() const { return options_; }

 private:
  int count_ = 0;
  cups_option_t* options_ = nullptr;
};

}  // namespace linux_platform
