// Styled text output: the four style fonts of a report file and the output
// of one run, drawn in its style or passed through to the printer driver.
#pragma once

#include "render/overstrike.h"
#include "render/report_file.h"

namespace plenwick {

// Makes the four style fonts of a report file on its device context from one
// logical font: the job's point size (or the size of the device context's
// current font) and the job's font face (or the current face), in regular,
// underline, bold-underline and bold; selects the regular one. Replaces
// fonts made earlier. Returns false when a font could not be made: the log
// says which, and runs of its style are drawn in the regular font.
bool CreateStyleFonts(ReportFile& file);

// Puts the device context's own font back and deletes the style fonts, so
// that no font is deleted while selected. Does nothing when there are none;
// call it before the device context is deleted.
void ReleaseStyleFonts(ReportFile& file);

// The next run selects its style font even when the last run had the same
// style. Call it when a page starts: some systems give each page the
// device's own font again.
void ReselectStyleFonts(ReportFile& file);

// Creates the style fonts for a report file and releases them when the
// scope ends, on every way out.
class StyleFontsScope {
 public:
  explicit StyleFontsScope(ReportFile& file) : file_(file), complete_(CreateStyleFonts(file)) {}
  ~StyleFontsScope() { ReleaseStyleFonts(file_); }
  StyleFontsScope(const StyleFontsScope&) = delete;
  StyleFontsScope& operator=(const StyleFontsScope&) = delete;
  bool complete() const { return complete_; }

 private:
  ReportFile& file_;
  bool complete_;
};

// The line grid of the font selected into dc: the character advance
// (tmAveCharWidth) and the line height (tmHeight + tmExternalLeading).
// False, with both 0, when the metrics cannot be read.
bool GetGridMetrics(HDC dc, int& advance, int& lineHeight);

// Outputs one run at (x, y) in device units. In raw mode the bytes go to
// the printer driver unchanged in PASSTHROUGH packets (attribute and
// position unused); otherwise in the style font of the attribute, after
// ANSI-to-OEM translation when the job asks for it, or else OEM-to-ANSI.
// UTF-8 text (utf8) goes out as wide characters, untranslated. Given a
// cell advance, each character is put in its cells, whatever widths the
// face gives its glyphs (a proportional or substituted face keeps the
// grid); without one (0) the glyphs follow each other.
void PutRun(ReportFile& file, LineAttr attribute, int x, int y, const char* text, int length,
            bool utf8 = false, int advance = 0);

// The bytes of the decoded line's run at start that go out in one text
// call: a run of one style, in a UTF-8 line cut after a wide character
// and around combining marks.
int GridRunLength(const DecodedLine& decoded, int start);

// Writes one report line at a row of the page: decodes its overstrikes and
// puts each run with PutRun at x = column * advance, y = row * lineHeight,
// then the characters struck over its cells in those cells. Unless the job
// names the code page (OEM or ANSI translation, raw mode), a line that
// reads as UTF-8 is written as UTF-8, its columns counted in characters.
// An empty text gives one run of length 0. A plain line (as ReadLine tells
// it) is put as it is, in one run, without being decoded, unless an escape
// sequence left an attribute in force.
void WriteReportLine(ReportFile& file, const char* line, int count, int row, int advance,
                     int lineHeight, bool plain = false);

}  // namespace plenwick
