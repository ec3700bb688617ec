// What one report file holds while it prints: the open file and its bytes,
// what the line reader has read ahead of them, the printer device context,
// the style fonts drawn on it and the scratch space of its text output.
#pragma once

#include <string>
#include <vector>

#include "core/print_job.h"
#include "platform/handles.h"
#include "render/byte_source.h"
#include "render/overstrike.h"
#include "render/style_fonts.h"

namespace plenwick {

// Made for one file and gone when the file ends, whatever way it ends. The
// members go in the reverse of their order here: the fonts first (the
// device context's own font put back), then the device context, then the
// file.
class ReportFile {
 public:
  // settings are the request's. The file is settings.fileName, opened by
  // Open; until then (and in tests, with bytes set by hand) nothing is read.
  explicit ReportFile(PrintJob& settings) : job(settings) {}
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Opens job.fileName for reading and reads it from the start, noting in
  // the job which file that is. False, with a log line, when it cannot be
  // opened or is no regular file.
  bool Open();

  HDC dc() const { return deviceContext.get(); }

  // The request's settings. Raw mode the printer cannot do is switched off
  // here for this file and the rest of the request.
  PrintJob& job;
  UniqueFile file;
  FileByteSource fileBytes{file};
  ByteSource* bytes = nullptr;  // what GetLine reads: fileBytes once open
  ReportReadAhead readAhead;    // what GetLine has read of bytes
  CellRules cells;              // tab stops, and the escapes' attribute from line to line
  UniqueDC deviceContext;       // the printer device context of this file
  StyleFonts fonts;             // on deviceContext
  // Translated text and pass-through packets: grown when a longer run
  // comes, never shrunk, so steady printing allocates nothing.
  std::vector<char> translated;
  std::vector<char> packet;
  std::vector<WCHAR> wide;    // UTF-8 text as UTF-16
  std::vector<INT> advances;  // each character's cell advance
  int uniformAdvance = 0;     // the one advance all of them hold, or 0
  // Why the document did not print, in the words its box showed: the line
  // the user is told names it.
  std::string failure;
};

}  // namespace plenwick
