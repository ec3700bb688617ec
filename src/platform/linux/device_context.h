// A printer device context on a CUPS destination: its page in device units
// (300 per inch), its fonts, and while a document is open the CUPS job it
// streams a cairo PDF (or PostScript) into.
#pragma once

#include <cairo.h>
#include <cups/cups.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/backend/cups_destination.h"
#include "platform/linux/backend/owners.h"
#include "platform/linux/font.h"
#include "platform/linux/backend/page_group_filter.h"

namespace linux_platform {

constexpr int kDeviceUnitsPerInch = 300;

// The CUPS job of an open document and the PDF being written into it.
struct Document {
  Destination& destination;
  // A document is given up by destroying it: nothing more is sent, and
  // its job, if one was created, is cancelled (EndDoc clears the job id of
  // one that was printed).
  explicit Document(Destination& destination);
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  UniqueHttp http;
  // PostScript for a PostScript printer, else PDF.
  bool postscript = false;
  // cairo's PDF on its way to the job. cairo writes it in pieces of a few
  // bytes, and libcups looks for an answer from the server after every
  // piece it is given: the pieces go to the job in blocks.
  PageGroupFilter output;
  static constexpr size_t kSendBlock = 64 * 1024;
  std::string pending;
  bool Send(const char* data, size_t length);
  bool SendPending();
  int jobId = 0;
  // Bytes are dropped once the document is given up, and after a write
  // to CUPS failed.
  bool discard = false;
  bool writeFailed = false;
  // The server took or answered nothing for too long on the job's
  // connection: nothing it said after that is believed.
  bool serverSilent = false;
  UniqueSurface surface;
  UniqueCairo context;
  bool pageOpen = false;
  // The glyphs of the run being drawn, kept for the next run.
  std::vector<cairo_glyph_t> glyphs;
};

struct DeviceContext {
  std::unique_ptr<Destination> destination;
  DEVMODEA mode{};
  cups_size_t media{};
  bool landscape = false;
  // The page and its printable area in device units; the device context's
  // origin is the printable area's top left corner.
  int pageWidth = 0, pageHeight = 0;
  int horzRes = 0, vertRes = 0;
  int offsetX = 0, offsetY = 0;
  Font stockFont{StockLogFont(), true};
  Font* selected = nullptr;  // null: the stock font
  int penX = 0, penY = 0;
  ABORTPROC abortProc = nullptr;
  std::unique_ptr<Document> document;

  Font& CurrentFont() { return selected ? *selected : stockFont; }
};

DeviceContext* FindDeviceContext(HDC dc);
// Forgets a font in every device context that has it selected.
void DeselectEverywhere(const Font* font);
// Device contexts as handles.
HDC AddDeviceContext(std::unique_ptr<DeviceContext> dc);
std::unique_ptr<DeviceContext> RemoveDeviceContext(HDC dc);
// Sets the page and its printable area from the media and orientation.
void SetUpPage(DeviceContext& dc);

}  // namespace linux_platform
