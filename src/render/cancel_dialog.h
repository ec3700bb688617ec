// The cancel dialog shown while a document spools, and the abort procedure.
#pragma once

#include "platform/handles.h"
#include "platform/win32.h"

namespace plenwick {

// The library's own module instance, recorded when the library is loaded;
// the dialog template is one of its resources.
extern HINSTANCE g_moduleInstance;

// The abort flag: set by any command of the cancel dialog, cleared by the
// page loop at the start of each report file.
void ClearAbortFlag();
bool AbortRequested();

// The cancel dialog of one report file, from the "AbrtDlg" template. It is
// made unless the job asks for no windows; a dialog that cannot be made is
// simply absent and printing goes on without it. It goes when its owner
// object goes, whatever way the file ends.
class CancelDialog {
 public:
  CancelDialog(HWND owner, bool noWindows);
  ~CancelDialog();
  CancelDialog(const CancelDialog&) = delete;
  CancelDialog& operator=(const CancelDialog&) = delete;

  bool Exists() const { return static_cast<bool>(window_); }
  HWND window() const { return window_.get(); }
  // Shows the page being printed in the progress line (item 100).
  void SetProgressText(const char* title) const;

 private:
  UniqueWindow window_;
};

}  // namespace plenwick

extern "C" {

// The dialog procedure of the cancel dialog.
PLENWICK_EXPORT INT_PTR CALLBACK AbrtDlgP(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The abort procedure the spooler calls during page output.
PLENWICK_EXPORT BOOL CALLBACK AbrtProc(HDC dc, int code);
}
