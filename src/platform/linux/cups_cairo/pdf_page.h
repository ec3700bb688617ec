// A document's pages as cairo draws them, streamed into a CUPS job as they
// end: a PDF, or PostScript for a PostScript printer. Drawing is in device
// units from the printable area's top left corner.
#pragma once

#include <cairo.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/linux/cups_cairo/owners.h"
#include "platform/linux/cups_cairo/font_name_filter.h"
#include "platform/linux/cups_cairo/page_group_filter.h"

namespace linux_platform {

// Where a document's bytes go as cairo writes them: a CUPS job, or a file.
class DocumentSink {
 public:
  virtual ~DocumentSink() = default;
  // False once a write failed: nothing more is taken.
  virtual bool Write(const char* data, size_t length) = 0;
  // The receiver stopped answering: nothing it said after that counts.
  virtual bool silent() const { return false; }
};

// A document written to a file of its own (DOCINFO.lpszOutput), with no
// print server involved: the same bytes a PDF queue would get.
class FileSink : public DocumentSink {
 public:
  // Creates (or empties) the file at path; the last error says why not.
  bool Open(const char* path);
  bool Write(const char* data, size_t length) override;
  // Every byte on the disk and the file closed; false, with the last
  // error, when any of it failed (a full disk shows here at the latest).
  bool Finish();

 private:
  static void Close(FILE* file) { fclose(file); }
  plenwick::UniqueAny<FILE*, Close> file_;
  bool failed_ = false;
};

class PdfDocument {
 public:
  // A page of width by height points; unitsPerInch device units to the
  // inch.
  PdfDocument(DocumentSink& job, bool postscript, double width, double height, int unitsPerInch,
              const char* title);
  // Whatever cairo still writes as it goes is dropped: a document given up
  // sends nothing more.
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  // cairo or the job refused something: the document cannot be printed.
  bool Failed() const;

  bool pageOpen() const { return pageOpen_; }
  // Opens a page whose printable area starts (offsetX, offsetY) device
  // units from the paper's corner.
  void StartPage(int offsetX, int offsetY);
  // The page goes to the job now. False when the document failed.
  bool EndPage();
  // Ends an open page and the document, and passes every byte to the job.
  // False when any of it failed.
  bool Finish();

  // A glyph of a scaled font, positioned in device units. Glyphs of one
  // font in a row go to cairo in one call, when something else is drawn
  // or the page ends: cairo's cost is per call as much as per glyph (each
  // call is recorded, then replayed twice as the page ends), and a page
  // of a report is mostly lines of one font.
  void AddGlyph(cairo_scaled_font_t* font, unsigned long index, double x, double y) {
    if (font != pendingFont_.get()) SwitchFont(font);
    pending_.push_back(cairo_glyph_t{index, x, y});
  }
  // Room for count glyphs of a scaled font, which the caller fills in.
  cairo_glyph_t* AddGlyphs(cairo_scaled_font_t* font, size_t count) {
    if (font != pendingFont_.get()) SwitchFont(font);
    size_t at = pending_.size();
    pending_.resize(at + count);
    return pending_.data() + at;
  }
  void FillRectangle(double x, double y, double width, double height);
  // Paints the rectangle white, as the background behind opaque text.
  void ClearRectangle(double x, double y, double width, double height);
  // A line one device unit wide, as the default pen.
  void Line(int fromX, int fromY, int toX, int toY);

 private:
  static cairo_status_t WriteToJob(void* closure, const unsigned char* data, unsigned int length);
  // Draws the glyphs waiting, before anything else is drawn.
  void DrawPending();
  void SwitchFont(cairo_scaled_font_t* font);

  DocumentSink& job_;
  bool postscript_;
  double scale_;
  // cairo's PDF on its way to the job, page groups cleared.
  PageGroupFilter output_;
  // cairo's PostScript on its way to the job, each font named apart.
  FontNameFilter fontNames_;
  bool discard_ = false;
  bool writeFailed_ = false;
  bool pageOpen_ = false;
  UniqueSurface surface_;
  UniqueCairo context_;
  // Glyphs not drawn yet, all of one font, which is held until they are:
  // the font's owner may let it go first.
  UniqueScaledFont pendingFont_;
  std::vector<cairo_glyph_t> pending_;
};

}  // namespace linux_platform
