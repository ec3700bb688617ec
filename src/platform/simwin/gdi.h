// Simulated graphics device interface: device modes, device contexts and
// what is drawn on them.
#pragma once

#include <string>
#include <vector>

#include "types.h"

#define CCHDEVICENAME 32
#define CCHFORMNAME 32

#define DM_SPECVERSION 0x0401

#define DM_ORIENTATION 0x00000001L
#define DM_PAPERSIZE 0x00000002L
#define DM_PAPERLENGTH 0x00000004L
#define DM_PAPERWIDTH 0x00000008L
#define DM_SCALE 0x00000010L
#define DM_COPIES 0x00000100L
#define DM_DEFAULTSOURCE 0x00000200L
#define DM_PRINTQUALITY 0x00000400L
#define DM_COLOR 0x00000800L
#define DM_DUPLEX 0x00001000L
#define DM_YRESOLUTION 0x00002000L
#define DM_TTOPTION 0x00004000L
#define DM_COLLATE 0x00008000L
#define DM_FORMNAME 0x00010000L

#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2
#define DMPAPER_LETTER 1
#define DMPAPER_A4 9
#define DMPAPER_USER 256
#define DMCOLLATE_FALSE 0
#define DMCOLLATE_TRUE 1

#define DM_UPDATE 1
#define DM_COPY 2
#define DM_PROMPT 4
#define DM_MODIFY 8
#define DM_OUT_BUFFER DM_COPY
#define DM_IN_BUFFER DM_MODIFY

// Field names and order as on Windows; the simulated layout need not match
// the 32-bit one byte for byte, since only the library reads it.
typedef struct _devicemodeA {
  BYTE dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  short dmOrientation;
  short dmPaperSize;
  short dmPaperLength;
  short dmPaperWidth;
  short dmScale;
  short dmCopies;
  short dmDefaultSource;
  short dmPrintQuality;
  short dmColor;
  short dmDuplex;
  short dmYResolution;
  short dmTTOption;
  short dmCollate;
  BYTE dmFormName[CCHFORMNAME];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmDisplayFlags;
  DWORD dmDisplayFrequency;
  DWORD dmICMMethod;
  DWORD dmICMIntent;
  DWORD dmMediaType;
  DWORD dmDitherType;
  DWORD dmReserved1;
  DWORD dmReserved2;
  DWORD dmPanningWidth;
  DWORD dmPanningHeight;
} DEVMODEA, *PDEVMODEA, *LPDEVMODEA;

// GetDeviceCaps indexes.
#define HORZRES 8
#define VERTRES 10
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode);
BOOL DeleteDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);

namespace simwin {

// One printer device context: the printer it was made on and a copy of the
// device mode it was made with.
struct DeviceContextInfo {
  std::string driver;
  std::string device;  // "(null)" when no device name was given
  bool hadDevMode = false;
  DEVMODEA devMode{};  // the public fields of the device mode given
  int horzRes = 0;     // printable size after orientation
  int vertRes = 0;
  int dpiX = 0;
  int dpiY = 0;
};

// Every CreateDCA call, in order, with its result.
struct CreateDCCall {
  std::string driver;
  std::string device;  // "(null)" for a null name
  std::string port;    // "(null)" for a null port
  bool hadDevMode;
  DEVMODEA devMode;  // copy of the public fields, when given
  HDC result;
};
const std::vector<CreateDCCall>& CreateDCCalls();
const DeviceContextInfo* FindDeviceContext(HDC dc);
size_t LiveDeviceContexts();
// The next CreateDCA returns null.
void FailNextCreateDC();

// What was done on device contexts, in order: the spooler's document and
// page calls, text, escapes and lines. Areas append to it; tests read it.
struct GdiEvent {
  enum Kind { kStartDoc, kStartPage, kEndPage, kEndDoc, kAbortDoc, kText, kEscape, kLine };
  Kind kind;
  HDC dc = nullptr;
  int x = 0, y = 0, x2 = 0, y2 = 0;  // text origin, or line from (x, y) to (x2, y2)
  std::string text;                  // text, escape input bytes, or document name
  int escape = 0;                    // escape number
  int result = 0;                    // what the call returned
  // The font selected when text was drawn.
  std::string face;
  int height = 0;
  int weight = 0;
  bool underline = false;
};
const std::vector<GdiEvent>& GdiEvents();
void RecordGdiEvent(const GdiEvent& event);

void ResetGdi();

}  // namespace simwin
