// What the line reader hands out of a report's bytes, worked out for the
// whole report at once, for the fuzz targets to hold the streaming reader
// to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/report_characters.h"

// The characters of the report: in raw mode its bytes; otherwise with its
// mark dropped, or converted from UTF-16 in one piece, and without a Ctrl-Z
// that only line ends (at most 511) follow at its end.
inline std::string ExpectedCharacters(const uint8_t* data, size_t size, bool raw) {
  if (raw) return std::string(reinterpret_cast<const char*>(data), size);
  size_t mark = 0;
  plenwick::ReportEncoding encoding = plenwick::EncodingOfMark(data, size, mark);
  std::string text;
  if (encoding == plenwick::ReportEncoding::kBytes) {
    text.assign(reinterpret_cast<const char*>(data) + mark, size - mark);
  } else {
    plenwick::Utf16Decoder decoder(encoding == plenwick::ReportEncoding::kUtf16BE);
    std::vector<unsigned char> out(plenwick::Utf16Decoder::MaxOutput(size) + 3);
    size_t made = decoder.Convert(data + mark, size - mark, out.data());
    made += decoder.Finish(out.data() + made);
    text.assign(reinterpret_cast<const char*>(out.data()), made);
  }
  size_t end = text.find_last_not_of("\r\n");
  if (end != std::string::npos && text[end] == '\x1A' && text.size() - end <= 512) text.resize(end);
  return text;
}
