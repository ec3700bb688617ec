// cairo writes every PDF page as an isolated transparency group, although
// nothing a report draws is transparent. Print filters take the group at its
// word: Ghostscript, CUPS' default PDF to PostScript and raster renderer,
// then paints the whole page as a 300 dpi picture, seconds a page and the
// text gone. cairo has no setting for it, so the page dictionaries are
// cleared of their group as the PDF streams past: the group is overwritten
// with spaces of the same length, so every byte offset in the
// cross-reference table stays right.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace linux_platform {

class PageGroupFilter {
 public:
  // Where the filtered bytes go; false when they could not be written.
  using Sink = std::function<bool(const char* data, size_t length)>;
  explicit PageGroupFilter(Sink sink) : sink_(std::move(sink)) {}

  // Passes a piece of the PDF on. A piece that ends in what may be the
  // start of a page's group is held back until the next piece tells.
  bool Write(const char* data, size_t length);
  // Passes on what is held back; at the end of the document.
  bool Flush();

  // The page's group as cairo writes it, and what follows it in a page
  // dictionary (a form's group is followed by "/Resources" and a new line).
  static const std::string& Group();
  static const std::string& Pattern();

 private:
  bool Pass(const char* data, size_t length);

  Sink sink_;
  std::string held_;
  std::string joined_;
};

}  // namespace linux_platform
