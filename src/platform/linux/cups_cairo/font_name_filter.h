// cairo names every font subset it writes into a PostScript document with
// the name of its face ("/FontName /DejaVuSansMono def" for each).
// Ghostscript, which a PostScript queue runs the document through, takes
// fonts of one name for one font: the text of the glyphs of every subset
// but the first is lost in the PDF it writes (they print, but search and
// copy give control characters). cairo has no setting for it, so each font
// is given a name of its own as the PostScript streams past: the face's
// name and the font's number.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace linux_platform {

class FontNameFilter {
 public:
  // Where the filtered bytes go; false when they could not be written.
  using Sink = std::function<bool(const char* data, size_t length)>;
  explicit FontNameFilter(Sink sink) : sink_(std::move(sink)) {}

  // Passes a piece of the PostScript on. A piece that ends within a font's
  // name, or in what may be the start of one, is held back until the next
  // piece tells.
  bool Write(const char* data, size_t length);
  // Passes on what is held back; at the end of the document.
  bool Flush();

 private:
  bool Pass(const char* data, size_t length);

  Sink sink_;
  std::string held_;
  std::string joined_;
  int fonts_ = 0;  // fonts renamed so far
};

}  // namespace linux_platform
