// Simulated graphics device interface: device modes, device contexts and
// what is drawn on them.
#pragma once

#include <string>
#include <vector>

#include "../winapi/gdi.h"

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
