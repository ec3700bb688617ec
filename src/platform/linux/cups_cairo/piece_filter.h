// A filter of a document that cairo hands over in pieces: what it looks
// for may be cut between two pieces, so the end of a piece that may begin
// it is held back until the next piece tells.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace linux_platform {

class PieceFilter {
 public:
  // Where the filtered bytes go; false when they could not be written.
  using Sink = std::function<bool(const char* data, size_t length)>;
  explicit PieceFilter(Sink sink) : sink_(std::move(sink)) {}
  virtual ~PieceFilter() = default;

  // Passes a piece of the document on, holding back what Pass leaves.
  bool Write(const char* data, size_t length);
  // Passes on what is held back; at the end of the document.
  bool Flush();

 protected:
  // Filters the bytes into sink_, setting held_ to those that must wait
  // for the next piece.
  virtual bool Pass(const char* data, size_t length) = 0;

  Sink sink_;
  std::string held_;

 private:
  std::string joined_;
};

}  // namespace linux_platform
