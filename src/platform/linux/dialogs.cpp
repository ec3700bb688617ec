// No dialog is ever made here, so printing goes on as without the cancel
// window.
#include "platform/winapi/winapi.h"

namespace {

constexpr DWORD kNotSupported = 50;

}  // namespace

HWND CreateDialogParamA(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) {
  SetLastError(kNotSupported);
  return nullptr;
}

BOOL DestroyWindow(HWND) {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return FALSE;
}

BOOL SetWindowTextA(HWND, LPCSTR) {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return FALSE;
}

BOOL SetDlgItemTextA(HWND, int, LPCSTR) {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return FALSE;
}

HWND GetFocus() { return nullptr; }

BOOL PeekMessageA(LPMSG, HWND, UINT, UINT, UINT) { return FALSE; }
BOOL TranslateMessage(const MSG*) { return FALSE; }
LRESULT DispatchMessageA(const MSG*) { return 0; }
BOOL IsDialogMessageA(HWND, LPMSG) { return FALSE; }
