// The simulated Windows, a test double of the Win32 subset the library
// calls: every knob a test turns and every record a test reads. The calls
// themselves are declared in platform/winapi/ with their real names.
//
// The double knows nothing of any program that runs on it: what such a
// program brings (its dialog templates, registry values, a user pressing
// its Cancel button) is set up by its tests through these functions.
// Handle values of different kinds of object never overlap, so a handle of
// one kind given to a call for another kind fails as on Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/winapi/winapi.h"

namespace simwin {

// ---- The machine --------------------------------------------------------

// Back to a fresh machine: one printer "PDF" that is the default printer,
// an empty registry (but for HKEY_LOCAL_MACHINE\Software), no open objects,
// nothing recorded, no forced results. Dialog templates stay: they are
// resources of the modules loaded in the process, not machine state.
void Reset();

// Platform objects the program still holds: files, locked global blocks,
// local blocks, device contexts, fonts, printer handles, registry keys,
// processes and windows.
size_t OpenHandleCount();

// Forgets what was recorded (calls, events, documents, boxes, deleted
// files) and the failures still planned, keeping the printers, the
// registry and the memory blocks. Only when OpenHandleCount() is 0: for
// long runs that must not grow with the records.
void ClearRecords();

// ---- Kernel: files and memory -------------------------------------------

// Files deleted through DeleteFileA, in order, successful or not.
struct DeleteRecord {
  std::string path;
  bool deleted;
};
const std::vector<DeleteRecord>& DeletedFiles();

// The texts given to OutputDebugStringA, in order.
const std::vector<std::string>& DebugStrings();

size_t LiveGlobalBlocks();
size_t LockedGlobalBlocks();

// The next GlobalAlloc fails (returns null).
void FailNextGlobalAlloc();
// _lread fails with this error after the given number of bytes of the next
// opened file; a negative count turns it off.
void FailReadsAfter(long bytes, DWORD error);

// ---- Printers and the print dialog --------------------------------------

// What PrintDlgA, the spooler and printer device contexts know about one
// printer.
struct PrinterSpec {
  std::string name = "PDF";
  std::string driver = "wineps.drv";
  std::string port = "CUPS:PDF";
  WORD specVersion = 0x30A;
  WORD driverExtra = 0;  // bytes after the public DEVMODEA fields
  int dpiX = 300;
  int dpiY = 300;
  int horzRes = 2479;        // printable width in device units
  int vertRes = 3508;        // printable height in device units
  int physicalWidth = 2480;  // the paper, A4 at 300 dpi
  int physicalHeight = 3508;
  // Default font of a device context on this printer.
  std::string faceName = "DejaVu Sans Mono";
  int tmHeight = 50;
  int tmAveCharWidth = 25;
  int tmExternalLeading = 0;
  // Modern family; the low bit (TMPF_FIXED_PITCH) is clear, which on
  // Windows means a fixed pitch.
  int tmPitchAndFamily = 0x30;
  bool passThrough = true;  // answers QUERYESCSUPPORT for PASSTHROUGH
  bool canOpen = true;      // OpenPrinterA succeeds
  // Paper, orientation and copies kept in the driver's extra bytes win over
  // the public fields unless DocumentPropertiesA merged them.
  bool privatePart = false;
  int maxCopies = 32767;  // what DeviceCapabilitiesA answers
  std::vector<WORD> bins{};
  std::vector<WORD> papers{};
  std::vector<std::string> paperNames{};
  bool collates = true;
};

// A driver as printer makers write them: a version-4.01 device mode with a
// private part; 1 copy, two bins, four papers.
PrinterSpec RealDriverPrinter(const std::string& name);
size_t DeviceCapabilitiesCallCount();

// What a device context's driver prints with.
struct DriverSettings {
  short paper, orientation, copies;
};

// Adds a printer, or replaces the one of the same name.
void AddPrinter(const PrinterSpec& spec);
void SetDefaultPrinter(const std::string& name);  // empty: no default printer
void RemoveAllPrinters();

// What the Print Setup dialog will do the next time it is shown: confirm
// with the named printer, or be cancelled (empty name). Without a script
// the dialog is cancelled.
void ScriptPrintSetup(const std::string& printerName);

struct PrintDlgCall {
  DWORD structSize;
  DWORD flags;
  HWND owner;
  HGLOBAL devModeIn;
  HGLOBAL devNamesIn;
  BOOL result;
};
const std::vector<PrintDlgCall>& PrintDlgCalls();

// ---- Printer access of the spooler --------------------------------------

struct OpenPrinterCall {
  std::string name;
  bool hadDefaults;
  BOOL result;
};
const std::vector<OpenPrinterCall>& OpenPrinterCalls();

// DocumentPropertiesA: mode 0 answers the size of the printer's device
// mode; DM_OUT_BUFFER fills the output with the printer's current settings,
// and with DM_IN_BUFFER takes the settings that the input flags over them,
// as a driver validating them.
struct DocumentPropertiesCall {
  std::string deviceName;
  DWORD mode;
  bool hadInput;
  DEVMODEA input;  // copy of the public fields given as input
  LONG result;
};
const std::vector<DocumentPropertiesCall>& DocumentPropertiesCalls();

// The next OpenPrinterA of this printer fails with error.
void FailNextOpenPrinter(const std::string& name, DWORD error = ERROR_INVALID_PRINTER_NAME);
// The next size query (DocumentPropertiesA mode 0) returns -1.
void FailNextSizeQuery();

// ---- Device contexts and what is drawn on them --------------------------

// Every CreateDCA call, in order, with its result. A device context needs
// a printer: the one its device name names.
struct CreateDCCall {
  std::string driver;
  std::string device;  // "(null)" for a null name
  std::string port;    // "(null)" for a null port
  bool hadDevMode;
  DEVMODEA devMode;  // copy of the public fields, when given
  HDC result;
  DriverSettings printed;  // what the driver prints with
};
const std::vector<CreateDCCall>& CreateDCCalls();
// The next CreateDCA returns null.
void FailNextCreateDC();

// What was done on device contexts, in order: the spooler's document and
// page calls, text, escapes and lines.
//
// A device context starts with its printer's own font (PrinterSpec face
// and metrics). TextOutA records a kText event with the selected font's
// face, weight, underline and height (lfHeight as created; tmHeight for
// the printer's font) and its background mode; TextOutW records the same,
// its text as UTF-8, marked wide. Escape records each PASSTHROUGH packet's
// bytes as a kEscape event.
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
  bool transparent = false;  // SetBkMode TRANSPARENT: no background box
  bool wide = false;         // drawn with TextOutW
  bool fixedPitch = false;   // the face the font mapper found
};
const std::vector<GdiEvent>& GdiEvents();

// Fonts made with CreateFontIndirectA and not yet deleted.
size_t LiveFonts();
// Successful SelectObject calls so far: a printer driver does work for each.
size_t SelectObjectCalls();
// Every font asked of CreateFontIndirectA, in order.
const std::vector<LOGFONTA>& CreatedFonts();
// The next CreateFontIndirectA returns null.
void FailNextCreateFont();
// From now until the records are cleared, each ExtTextOut's advances (none
// without them): recorded apart, as they would grow the records as the
// text does.
void RecordAdvances();
const std::vector<std::vector<int>>& RecordedAdvances();

// ---- The spooler: documents and pages -----------------------------------
//
// Spoolers differ in when they call the application's abort procedure and
// in what they make of its FALSE:
// - kWindowsNt (a fresh machine's): it is called in every StartPage and
//   EndPage, as the spooler lets the application run while it takes the
//   page. When it returns FALSE the spooler abandons the document itself:
//   that call returns SP_APPABORT, and so does every later StartPage,
//   EndPage and EndDoc of the document (AbortDoc still ends it).
// - kWine: it is called once, in StartDoc, which starts no document and
//   returns 0 when it says FALSE; the page calls never call it, so while
//   pages go out it is asked only if the application asks it itself.
// The style outlasts ClearRecords.
enum class SpoolerStyle { kWindowsNt, kWine };
void SetSpoolerStyle(SpoolerStyle style);

// The nth call from now (1: the next one) of the named spooler call
// ("StartDoc", "StartPage", "EndPage", "EndDoc", "AbortDoc", "SetAbortProc")
// returns result. A result above 0 lets the call do its work; 0 or below
// makes it fail: no document or page is started, a page being ended is
// lost, a document being ended stays open, no abort procedure is called.
// A name the spooler does not know ends the test run.
void ForceSpoolerResult(const std::string& call, int result, int nth = 1);

// Runs action just before the nth call of an abort procedure from now
// (1: the next one), as a user acting while the spooler sends a page.
void BeforeAbortProcCall(int nth, std::function<void()> action);
// Runs action just before the nth call of the named spooler call from now
// (the names of ForceSpoolerResult), as a user acting while the program
// prints, whether or not the spooler then asks its abort procedure.
void BeforeSpoolerCall(const std::string& call, int nth, std::function<void()> action);
// Calls of abort procedures so far.
int AbortProcCalls();

// A document as the spooler saw it, with its pages in order.
struct SpooledPage {
  std::vector<GdiEvent> texts;    // kText events
  std::vector<GdiEvent> lines;    // kLine events
  std::vector<GdiEvent> escapes;  // kEscape events
  bool ended = false;             // EndPage succeeded (a failed one loses the page)
  // The texts of the page, one row a line: runs at the same y are joined.
  std::string Text() const;
};

struct SpooledDocument {
  enum End { kOpen, kEnded, kAborted, kAbandoned, kDiscarded };
  std::string name;
  HDC dc = nullptr;
  // kEnded: EndDoc succeeded; kAborted: AbortDoc; kAbandoned: the abort
  // procedure said stop; kDiscarded: the device context was deleted with
  // the document open.
  End end = kOpen;
  std::vector<SpooledPage> pages;
  std::string output;  // DOCINFO.lpszOutput, created empty by StartDoc; "" for none
};

// Documents started successfully, in order.
std::vector<SpooledDocument> Documents();
// The pages of the last document (none when no document was started).
std::vector<SpooledPage> Pages();

// ---- Dialogs, windows and messages --------------------------------------

// The module's templates (platform/dialog_template.h).
using winapi::AddDialogTemplate;
using winapi::DialogItem;
using winapi::DialogTemplate;

// A live window: a dialog made from a template.
struct WindowInfo {
  std::string templateName;
  HINSTANCE instance = nullptr;  // the module the template was asked from
  HWND owner = nullptr;
  std::string caption;
  std::vector<DialogItem> items;
  DLGPROC procedure = nullptr;
  bool visible = true;
  int defaultButton = 0;  // the id that Enter presses
};

const WindowInfo* FindWindowInfo(HWND window);
// The newest live dialog made from the template, or null.
HWND FindDialog(const std::string& templateName);
// Dialogs made since the last reset.
size_t DialogsCreated();
// The next CreateDialogParamA fails (returns null) without calling the
// dialog procedure.
void FailNextCreateDialog();
// The window GetFocus reports; null (no focus) on a fresh machine.
void SetFocusWindow(HWND window);

// User input, posted to the thread's queue as Windows would post it.
void PressDialogButton(HWND dialog, int id);  // WM_COMMAND with BN_CLICKED
void PressKey(HWND dialog, int virtualKey);   // WM_KEYDOWN

size_t QueuedMessageCount();
// Messages that went through DispatchMessageA, in order, and how many went
// through TranslateMessage.
const std::vector<MSG>& DispatchedMessages();
size_t TranslatedMessageCount();

// ---- Message boxes ------------------------------------------------------

struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;  // "(null)" stands for a null caption
  UINT type;
  int answer;
};
const std::vector<MessageBoxRecord>& MessageBoxes();
// A service's window station, not visible (false), or a desktop's.
void SetWindowStationVisible(bool visible);
// Answers for the next message boxes, in order. Without a queued answer a
// box answers its first button (IDOK, or IDRETRY for Retry/Cancel).
void QueueMessageBoxAnswer(int answer);

// ---- Shell --------------------------------------------------------------

// One ShellExecuteExA call as the program filled the record. Texts are
// copied; a null pointer is kept apart from an empty text.
struct ShellText {
  bool present = false;
  std::string text;
};
struct ShellExecution {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  ShellText verb;
  ShellText file;
  ShellText parameters;
  ShellText directory;
  int nShow;
  bool otherFieldsZero;  // every other input field, and both outputs, zero
};
const std::vector<ShellExecution>& ShellExecutions();

// What the shell does with the next commands, in order: the hInstApp it
// reports, and whether it starts a process (a handle is returned only when
// SEE_MASK_NOCLOSEPROCESS asks for one). Without a script: 42, a process.
void QueueShellOutcome(uintptr_t hInstApp, bool startsProcess);

// Shell, wait and close calls in order, e.g. "ShellExecuteExA(notepad.exe)",
// "WaitForSingleObject(process 1, INFINITE)", "CloseHandle(process 1)".
// Processes are numbered from 1 in the order they were started.
const std::vector<std::string>& ShellEvents();

// ---- Registry -----------------------------------------------------------

// Stores a value with its raw bytes, exactly as given (a string value
// brings its own terminator, or none), creating the key and its parents.
// Key and value names are UTF-8, as the UTF-16 functions hand them on;
// text data is in the ANSI code page. The 32-bit view's HKLM\Software is
// the key Software\WOW6432Node.
void SetRegistryValue(HKEY root, const std::string& subKey, const std::string& name, DWORD type,
                      const std::string& data);
void CreateRegistryKey(HKEY root, const std::string& subKey);

// Registry calls in order, e.g. "RegOpenKeyExA(Software\Example, 0, 0x1) = 0",
// "RegQueryValueExA(Greeting, 256) = 0", "RegCloseKey() = 0".
const std::vector<std::string>& RegistryEvents();

size_t OpenKeyCount();

}  // namespace simwin
