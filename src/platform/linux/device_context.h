// A printer device context on a CUPS destination: its page in device units
// (300 per inch), its fonts, and while a document is open the CUPS job and
// the pages it streams into it.
#pragma once

#include <cairo.h>
#include <cups/cups.h>

#include <memory>
#include <string>

#include "platform/linux/cups_cairo/cups_destination.h"
#include "platform/linux/cups_cairo/owners.h"
#include "platform/linux/font.h"
#include "platform/linux/cups_cairo/cups_job.h"
#include "platform/linux/cups_cairo/pdf_page.h"

namespace linux_platform {

constexpr int kDeviceUnitsPerInch = 300;

// An open document: its CUPS job, or the file it is written to, and the
// pages drawn into it. The pages go first, so that nothing more is sent,
// then the job, which cancels itself unless it was finished.
struct Document {
  std::unique_ptr<CupsJob> job;
  FileSink file;
  std::unique_ptr<PdfDocument> pages;
  DocumentSink& sink() { return job ? static_cast<DocumentSink&>(*job) : file; }
};

struct DeviceContext {
  std::shared_ptr<Destination> destination;
  DEVMODEA mode{};
  cups_size_t media{};
  bool landscape = false;
  // The page and its printable area in device units; the device context's
  // origin is the printable area's top left corner.
  int pageWidth = 0, pageHeight = 0;
  int horzRes = 0, vertRes = 0;
  int offsetX = 0, offsetY = 0;
  Font stockFont{StockLogFont(), true};
  Font* selected = nullptr;          // null: the stock font
  HGDIOBJ selectedHandle = nullptr;  // the handle selected's object was given
  int penX = 0, penY = 0;
  int backgroundMode = OPAQUE;
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
