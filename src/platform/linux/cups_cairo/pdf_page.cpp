#include "platform/linux/cups_cairo/pdf_page.h"

#include <cairo-pdf.h>
#include <cairo-ps.h>

#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/winapi/common.h"

namespace linux_platform {
namespace {

constexpr double kPointsPerInch = 72.0;

}  // namespace

// cairo hands the document over in pieces as pages are finished; they go to
// the job a block at a time, so the document is never held whole in memory
// (cairo keeps a PostScript document's pages in a file of its own until
// the document ends: its fonts come first).
cairo_status_t PdfDocument::WriteToJob(void* closure, const unsigned char* data,
                                       unsigned int length) {
  auto* document = static_cast<PdfDocument*>(closure);
  if (document->discard_ || document->writeFailed_) return CAIRO_STATUS_SUCCESS;
  const char* bytes = reinterpret_cast<const char*>(data);
  bool sent = document->postscript_ ? document->fontNames_.Write(bytes, length)
                                    : document->output_.Write(bytes, length);
  if (!sent || document->job_.silent()) {
    document->writeFailed_ = true;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

namespace {

// The title as a DSC comment: one line of printable characters, within the
// 255 bytes cairo takes. A DSC comment has no encoding of its own, and
// whoever makes a PDF of the PostScript (Ghostscript's pdfwrite) takes its
// bytes as the PDF's own text encoding, Latin-1 in its printable range: the
// UTF-8 of a name (two bytes for a Ü) would read as two other characters.
// So the name is written in Latin-1; a character beyond it becomes '?', and
// a byte that is no part of UTF-8 stands for itself.
std::string DscTitle(const char* title) {
  std::string comment = "%%Title: ";
  const auto* c = reinterpret_cast<const unsigned char*>(title);
  while (*c && comment.size() < 200) {
    unsigned int code = *c;
    int length = 1;
    if (code >= 0xC2 && code <= 0xDF && (c[1] & 0xC0) == 0x80) {
      code = ((code & 0x1F) << 6) | (c[1] & 0x3F);
      length = 2;
    } else if (code >= 0xE0 && code <= 0xF4 && (c[1] & 0xC0) == 0x80 && (c[2] & 0xC0) == 0x80) {
      length = code < 0xF0 ? 3 : ((c[3] & 0xC0) == 0x80 ? 4 : 1);
      code = length == 1 ? code : '?';
    }
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) code = code < 0x20 ? ' ' : '?';
    comment += static_cast<char>(code);
    c += length;
  }
  return comment;
}

}  // namespace

// A PostScript printer gets PostScript: CUPS passes it on as it is, where a
// PDF would be turned into PostScript by Ghostscript first, a page at a
// time. Any other printer gets a PDF, which CUPS' filters take as it comes.
PdfDocument::PdfDocument(DocumentSink& job, bool postscript, double width, double height,
                         int unitsPerInch, const char* title)
    : job_(job),
      postscript_(postscript),
      scale_(kPointsPerInch / unitsPerInch),
      output_([this](const char* data, size_t length) { return job_.Write(data, length); }),
      fontNames_([this](const char* data, size_t length) { return job_.Write(data, length); }) {
  if (postscript_) {
    surface_.reset(cairo_ps_surface_create_for_stream(WriteToJob, this, width, height));
    cairo_ps_surface_dsc_comment(surface_.get(), DscTitle(title).c_str());
  } else {
    surface_.reset(cairo_pdf_surface_create_for_stream(WriteToJob, this, width, height));
    // From PDF 1.5 on, newer cairo packs the page dictionaries into
    // compressed object streams, where no page group could be cleared;
    // nothing a report draws needs more than PDF 1.4.
    cairo_pdf_surface_restrict_to_version(surface_.get(), CAIRO_PDF_VERSION_1_4);
    cairo_pdf_surface_set_metadata(surface_.get(), CAIRO_PDF_METADATA_TITLE, title);
  }
  context_.reset(cairo_create(surface_.get()));
}

PdfDocument::~PdfDocument() {
  discard_ = true;
  context_.reset();
  surface_.reset();
}

bool PdfDocument::Failed() const {
  return writeFailed_ || (surface_ && cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS);
}

void PdfDocument::StartPage(int offsetX, int offsetY) {
  cairo_t* cr = context_.get();
  cairo_identity_matrix(cr);
  cairo_scale(cr, scale_, scale_);
  cairo_translate(cr, offsetX, offsetY);
  cairo_set_source_rgb(cr, 0, 0, 0);
  pageOpen_ = true;
}

bool PdfDocument::EndPage() {
  DrawPending();
  cairo_show_page(context_.get());
  pageOpen_ = false;
  return !Failed();
}

bool PdfDocument::Finish() {
  if (pageOpen_) EndPage();
  context_.reset();
  cairo_surface_finish(surface_.get());
  if (!writeFailed_ && !(postscript_ ? fontNames_.Flush() : output_.Flush())) writeFailed_ = true;
  bool written = !Failed();
  discard_ = true;
  surface_.reset();
  return written;
}

void PdfDocument::SwitchFont(cairo_scaled_font_t* font) {
  DrawPending();
  pendingFont_.reset(cairo_scaled_font_reference(font));
}

void PdfDocument::DrawPending() {
  if (pending_.empty()) return;
  cairo_t* cr = context_.get();
  cairo_set_scaled_font(cr, pendingFont_.get());
  cairo_show_glyphs(cr, pending_.data(), static_cast<int>(pending_.size()));
  pending_.clear();
}

void PdfDocument::FillRectangle(double x, double y, double width, double height) {
  DrawPending();
  cairo_t* cr = context_.get();
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
}

void PdfDocument::ClearRectangle(double x, double y, double width, double height) {
  DrawPending();
  cairo_t* cr = context_.get();
  cairo_save(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
  cairo_restore(cr);
}

void PdfDocument::Line(int fromX, int fromY, int toX, int toY) {
  DrawPending();
  cairo_t* cr = context_.get();
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, fromX, fromY);
  cairo_line_to(cr, toX, toY);
  cairo_stroke(cr);
}

bool FileSink::Open(const char* path) {
  // Close on exec: a program the library starts must not hold the file.
  file_.reset(fopen(path, "wbe"));
  if (!file_) SetLastError(winapi::OpenFileError(path, errno));
  return static_cast<bool>(file_);
}

bool FileSink::Write(const char* data, size_t length) {
  if (!failed_ && fwrite(data, 1, length, file_.get()) != length) {
    failed_ = true;
    SetLastError(winapi::ErrorFromErrno(errno));
  }
  return !failed_;
}

bool FileSink::Finish() {
  FILE* file = file_.release();
  if (!file) return false;
  bool flushed = !failed_ && fflush(file) == 0 && fsync(fileno(file)) == 0;
  int error = errno;
  bool closed = fclose(file) == 0;
  if (!flushed || !closed) {
    if (!failed_) SetLastError(winapi::ErrorFromErrno(flushed ? errno : error));
    return false;
  }
  return true;
}

}  // namespace linux_platform
