#include "render/cancel_dialog.h"

#include "core/debug_log.h"
#include "core/wide_name.h"
#include "resources/resource_ids.h"

namespace plenwick {

HINSTANCE g_moduleInstance = nullptr;

namespace {

// Process-wide, like the rest of the rendering state: the dialog and the
// abort procedure are called back without any context of ours.
bool g_abortFlag = false;
// The dialog as returned on creation: messages are routed to it.
HWND g_cancelDialog = nullptr;
// The dialog as seen at WM_INITDIALOG: its item 100 shows the page title.
HWND g_progressDialog = nullptr;

}  // namespace

void ClearAbortFlag() { g_abortFlag = false; }
bool AbortRequested() { return g_abortFlag; }

CancelDialog::CancelDialog(HWND owner, bool noWindows) {
  if (noWindows) return;
  window_.reset(CreateDialogParamA(g_moduleInstance, "AbrtDlg", owner, AbrtDlgP, 0));
  if (window_) {
    g_cancelDialog = window_.get();
  } else {
    g_progressDialog = nullptr;  // whatever was initialised did not survive
  }
}

CancelDialog::~CancelDialog() {
  // Forget the window before it goes, so that no message is routed to it
  // and no title is written into it afterwards.
  if (window_ && g_cancelDialog == window_.get()) {
    g_cancelDialog = nullptr;
    g_progressDialog = nullptr;
  }
}

void CancelDialog::SetProgressText(const char* title) const {
  if (window_ && g_progressDialog) {
    SetDlgItemTextA(g_progressDialog, IDC_PROGRESS, AnsiOf(title).c_str());
  }
}

}  // namespace plenwick

extern "C" {

// Both procedures are called by the platform, which knows nothing of C++
// exceptions: whatever is thrown inside stays here. A dialog message that
// failed counts as not handled; an abort procedure that failed abandons the
// document, so the report is kept and the log says why.
INT_PTR CALLBACK AbrtDlgP(HWND dialog, UINT message, WPARAM, LPARAM) {
  try {
    // The message is compared as a 16-bit value.
    switch (static_cast<WORD>(message)) {
      case WM_INITDIALOG:
        SetWindowTextA(dialog, "Spooling");
        plenwick::g_progressDialog = dialog;
        return TRUE;
      case WM_COMMAND:
        // The Cancel button, Enter and Escape all arrive here: any of them
        // abandons the document.
        plenwick::g_abortFlag = true;
        return TRUE;
      default:
        return FALSE;
    }
  } catch (...) {
    plenwick::DebugLog("AbrtDlgP() stopped by an exception\n");
    return FALSE;
  }
}

BOOL CALLBACK AbrtProc(HDC, int) {
  try {
    // The dialog is modeless and this is the only place its messages are
    // served, so everything waiting is taken now.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (plenwick::g_cancelDialog && IsDialogMessageA(plenwick::g_cancelDialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return plenwick::g_abortFlag ? FALSE : TRUE;
  } catch (...) {
    plenwick::DebugLog("AbrtProc() stopped by an exception: the document is abandoned\n");
    return FALSE;
  }
}
}
