// Documents and pages on CUPS: StartDocA creates a job on the destination
// with the device mode's settings as IPP attributes, and streams a cairo
// PDF into it page by page; EndDoc finishes the PDF and the job, AbortDoc
// cancels the job. Drawing is in device units, 300 per inch.
#include <cairo-pdf.h>

#include <cmath>
#include <cstring>
#include <string>

#include "platform/winapi/codepage.h"

#include "platform/linux/device_context.h"

namespace linux_platform {
namespace {

constexpr double kPointsPerInch = 72.0;

double Points(int deviceUnits) { return deviceUnits * kPointsPerInch / kDeviceUnitsPerInch; }

// cairo hands the PDF over in pieces as pages are finished; each piece goes
// to CUPS at once, so the document is never held whole in memory.
cairo_status_t WriteToJob(void* closure, const unsigned char* data, unsigned int length) {
  auto* document = static_cast<Document*>(closure);
  if (document->discard || document->writeFailed) return CAIRO_STATUS_SUCCESS;
  if (cupsWriteRequestData(document->http.get(), reinterpret_cast<const char*>(data), length) !=
      HTTP_STATUS_CONTINUE) {
    document->writeFailed = true;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

struct OptionsDeleter {
  int count;
  void operator()(cups_option_t* options) const { cupsFreeOptions(count, options); }
};

bool CreateJob(DeviceContext& dc, Document& document, const char* title) {
  InitializeCups();
  Destination& destination = *dc.destination;
  // A connection of the document's own, to the server the destination was
  // found on.
  document.http.reset(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                   1, 30000, nullptr));
  if (!document.http) return false;
  cups_option_t* options = nullptr;
  int count = destination.AddJobOptions(dc.mode, 0, &options);
  std::unique_ptr<cups_option_t, OptionsDeleter> owned(options, {count});
  if (cupsCreateDestJob(document.http.get(), destination.dest(), destination.info(),
                        &document.jobId, title, count, options) > IPP_STATUS_OK_CONFLICTING) {
    return false;
  }
  return cupsStartDestDocument(document.http.get(), destination.dest(), destination.info(),
                               document.jobId, title, CUPS_FORMAT_PDF, 0, nullptr,
                               1) == HTTP_STATUS_CONTINUE;
}

// Draws ANSI text with its cell's top left corner at (x, y). Glyphs advance
// by their own unrounded widths, as the Windows PostScript driver places
// them, so a run reads the same on both.
BOOL DrawText(cairo_t* cr, const Font& font, int x, int y, const char* text, int count) {
  std::string utf8;
  for (int i = 0; i < count; ++i) {
    uint32_t c = winapi::AnsiToUnicode(static_cast<unsigned char>(text[i]));
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  cairo_glyph_t* glyphs = nullptr;
  int glyphCount = 0;
  cairo_text_cluster_t* clusters = nullptr;
  int clusterCount = 0;
  cairo_text_cluster_flags_t flags{};
  double baseline = y + font.metrics().tmAscent;
  if (cairo_scaled_font_text_to_glyphs(font.scaled(), x, baseline, utf8.data(),
                                       static_cast<int>(utf8.size()), &glyphs, &glyphCount,
                                       &clusters, &clusterCount, &flags) != CAIRO_STATUS_SUCCESS) {
    return FALSE;
  }
  cairo_text_extents_t extents{};
  cairo_scaled_font_glyph_extents(font.scaled(), glyphs, glyphCount, &extents);
  cairo_set_scaled_font(cr, font.scaled());
  cairo_show_text_glyphs(cr, utf8.data(), static_cast<int>(utf8.size()), glyphs, glyphCount,
                         clusters, clusterCount, flags);
  cairo_glyph_free(glyphs);
  cairo_text_cluster_free(clusters);
  if (font.logical().lfUnderline) {
    double thickness = font.underlineThickness();
    cairo_rectangle(cr, x, baseline + font.underlinePosition() - thickness / 2, extents.x_advance,
                    thickness);
    cairo_fill(cr);
  }
  return TRUE;
}

bool Failed(const Document& document) {
  return document.writeFailed ||
         (document.surface && cairo_surface_status(document.surface.get()) != CAIRO_STATUS_SUCCESS);
}

}  // namespace

void AbandonDocument(DeviceContext& dc) {
  std::unique_ptr<Document> document = std::move(dc.document);
  if (!document) return;
  document->discard = true;
  document->context.reset();
  document->surface.reset();
  // The half-sent request goes with its connection; the job is cancelled
  // on a connection of its own.
  document->http.reset();
  if (document->jobId > 0) {
    InitializeCups();
    cupsCancelDestJob(CUPS_HTTP_DEFAULT, dc.destination->dest(), document->jobId);
  }
}

}  // namespace linux_platform

using linux_platform::DeviceContext;
using linux_platform::Document;
using linux_platform::FindDeviceContext;

int StartDocA(HDC handle, const DOCINFOA* info) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || dc->document) return SP_ERROR;
  const char* title = info && info->lpszDocName ? info->lpszDocName : "Document";
  auto document = std::make_unique<Document>();
  if (!linux_platform::CreateJob(*dc, *document, title)) {
    dc->document = std::move(document);
    linux_platform::AbandonDocument(*dc);
    return SP_ERROR;
  }
  document->surface.reset(cairo_pdf_surface_create_for_stream(
      linux_platform::WriteToJob, document.get(), linux_platform::Points(dc->pageWidth),
      linux_platform::Points(dc->pageHeight)));
  cairo_pdf_surface_set_metadata(document->surface.get(), CAIRO_PDF_METADATA_TITLE, title);
  document->context.reset(cairo_create(document->surface.get()));
  dc->document = std::move(document);
  if (linux_platform::Failed(*dc->document)) {
    linux_platform::AbandonDocument(*dc);
    return SP_ERROR;
  }
  return dc->document->jobId;
}

int StartPage(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document || dc->document->pageOpen) return SP_ERROR;
  cairo_t* cr = dc->document->context.get();
  // Device units from the printable area's top left corner.
  cairo_identity_matrix(cr);
  double scale = linux_platform::Points(1);
  cairo_scale(cr, scale, scale);
  cairo_translate(cr, dc->offsetX, dc->offsetY);
  cairo_set_source_rgb(cr, 0, 0, 0);
  dc->document->pageOpen = true;
  return 1;
}

int EndPage(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document || !dc->document->pageOpen) return SP_ERROR;
  // The abort procedure is asked while the page is sent, as a spooler
  // asks it; a No gives the document up.
  if (dc->abortProc && !dc->abortProc(handle, 0)) {
    linux_platform::AbandonDocument(*dc);
    return SP_APPABORT;
  }
  cairo_show_page(dc->document->context.get());
  dc->document->pageOpen = false;
  return linux_platform::Failed(*dc->document) ? SP_ERROR : 1;
}

int EndDoc(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document) return SP_ERROR;
  Document& document = *dc->document;
  if (document.pageOpen) cairo_show_page(document.context.get());
  document.context.reset();
  cairo_surface_finish(document.surface.get());
  bool written = !linux_platform::Failed(document);
  document.discard = true;
  document.surface.reset();
  linux_platform::Destination& destination = *dc->destination;
  if (!written || cupsFinishDestDocument(document.http.get(), destination.dest(),
                                         destination.info()) > IPP_STATUS_OK_CONFLICTING) {
    linux_platform::AbandonDocument(*dc);
    return SP_ERROR;
  }
  dc->document.reset();
  return 1;
}

int AbortDoc(HDC handle) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document) return SP_ERROR;
  linux_platform::AbandonDocument(*dc);
  return 1;
}

int SetAbortProc(HDC handle, ABORTPROC procedure) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc) return SP_ERROR;
  dc->abortProc = procedure;
  return 1;
}

BOOL TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc || !dc->document || !dc->document->pageOpen || count < 0 || (count > 0 && !text)) {
    return FALSE;
  }
  linux_platform::Font& font = dc->CurrentFont();
  if (!font.Realize()) return FALSE;
  if (count == 0) return TRUE;
  return linux_platform::DrawText(dc->document->context.get(), font, x, y, text, count);
}

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc) return FALSE;
  if (previous) *previous = POINT{dc->penX, dc->penY};
  dc->penX = x;
  dc->penY = y;
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DeviceContext* dc = FindDeviceContext(handle);
  if (!dc) return FALSE;
  if (dc->document && dc->document->pageOpen) {
    // One device unit wide, as the default pen.
    cairo_t* cr = dc->document->context.get();
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, dc->penX, dc->penY);
    cairo_line_to(cr, x, y);
    cairo_stroke(cr);
  }
  dc->penX = x;
  dc->penY = y;
  return TRUE;
}

// Only the query itself is supported: a driver that writes PDF has no
// pass-through of raw printer data.
int Escape(HDC handle, int escape, int inputSize, LPCSTR input, LPVOID) {
  if (!FindDeviceContext(handle)) return 0;
  if (escape != QUERYESCSUPPORT || inputSize < static_cast<int>(sizeof(int32_t)) || !input) return 0;
  int32_t asked = 0;
  memcpy(&asked, input, sizeof asked);
  return asked == QUERYESCSUPPORT ? 1 : 0;
}
