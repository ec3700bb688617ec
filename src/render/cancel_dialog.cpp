#include "render/cancel_dialog.h"

namespace plenwick {

HINSTANCE g_moduleInstance = nullptr;

}  // namespace plenwick

// Until the dialog is built: every message is left to the default handling,
// and printing is never abandoned.
extern "C" {

INT_PTR CALLBACK AbrtDlgP(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL CALLBACK AbrtProc(HDC, int) { return TRUE; }
}
