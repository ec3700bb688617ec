// cairo names every font subset it writes into a PostScript document with
// the name of its face ("/FontName /DejaVuSansMono def" for each).
// Ghostscript, which a PostScript queue runs the document through, takes
// fonts of one name for one font: the text of the glyphs of every subset
// but the first is lost in the PDF it writes (they print, but search and
// copy give control characters). cairo has no setting for it, so each font
// is given a name of its own as the PostScript streams past: the second
// font of a name gets the name and "-2", and so on.
#pragma once

#include <map>
#include <string>

#include "platform/linux/cups_cairo/piece_filter.h"

namespace linux_platform {

class FontNameFilter final : public PieceFilter {
 public:
  explicit FontNameFilter(Sink sink) : PieceFilter(std::move(sink)) {}

 private:
  // A piece that ends within a font's name, or in what may be the start
  // of one, is held back.
  bool Pass(const char* data, size_t length) override;

  std::map<std::string, int> fonts_;  // how many fonts had each name so far
};

}  // namespace linux_platform
