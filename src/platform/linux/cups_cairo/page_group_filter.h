// cairo writes every PDF page as an isolated transparency group, although
// nothing a report draws is transparent. Print filters take the group at its
// word: Ghostscript, CUPS' default PDF to PostScript and raster renderer,
// then paints the whole page as a 300 dpi picture, seconds a page and the
// text gone. cairo has no setting for it, so the page dictionaries are
// cleared of their group as the PDF streams past: the group is overwritten
// with spaces of the same length, so every byte offset in the
// cross-reference table stays right.
#pragma once

#include <string>

#include "platform/linux/cups_cairo/piece_filter.h"

namespace linux_platform {

class PageGroupFilter final : public PieceFilter {
 public:
  explicit PageGroupFilter(Sink sink) : PieceFilter(std::move(sink)) {}

  // The page's group as cairo writes it, and what follows it in a page
  // dictionary (a form's group is followed by "/Resources" and a new line).
  static const std::string& Group();
  static const std::string& Pattern();

 private:
  bool Pass(const char* data, size_t length) override;
};

}  // namespace linux_platform
