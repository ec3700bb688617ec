// Fonts, text metrics, text output and printer escapes.
#pragma once

#include "gdi.h"

#define LF_FACESIZE 32

#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700

#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_SWISS 0x20
#define FF_MODERN 0x30

// Character sets of a logical font: the fixed Western code page, and the
// system's own ANSI code page. The simulated Windows and the Linux library
// draw a report's 8-bit text in code page 1252 under either (1252 is the
// simulated machine's ANSI code page; on Linux the ANSI functions take the
// UTF-8 of file and printer names, and report text stays 1252), so both
// print a font of either set alike.
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1

// Escapes the library uses.
#define QUERYESCSUPPORT 8
#define PASSTHROUGH 19

// Background modes: text drawn over a box of the background colour, or
// glyphs alone.
#define TRANSPARENT 1
#define OPAQUE 2

#define HGDI_ERROR ((HGDIOBJ)(LONG_PTR)-1)

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT;

typedef struct tagLOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *PLOGFONTA, *LPLOGFONTA;

typedef struct tagTEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICA, *PTEXTMETRICA, *LPTEXTMETRICA;

// A device context starts with its printer's own font (PrinterSpec face and
// metrics). TextOutA records a kText GdiEvent with the selected font's face,
// weight, underline and height (lfHeight as created; tmHeight for the
// printer's font), whether the background was transparent, and TextOutW
// the same with its text as UTF-8; Escape records each PASSTHROUGH packet's bytes as a
// kEscape GdiEvent.
HFONT CreateFontIndirectA(const LOGFONTA* font);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
BOOL GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics);
int GetTextFaceA(HDC dc, int count, LPSTR face);
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
// TextOut with each character's advance given: character i starts dx[0] +
// ... + dx[i-1] device units after x, whatever the face's own widths (for
// the W form one entry a UTF-16 unit). Options and rectangle are not used
// (0 and null).
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* dx);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* dx);
// A device context starts OPAQUE; returns the mode before, 0 on failure.
int SetBkMode(HDC dc, int mode);
int Escape(HDC dc, int escape, int inputSize, LPCSTR input, LPVOID output);
int MulDiv(int number, int numerator, int denominator);
