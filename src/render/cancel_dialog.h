// The cancel dialog shown while a document spools, and the abort procedure.
#pragma once

#include "platform/win32.h"

namespace plenwick {

// The library's own module instance, recorded when the library is loaded;
// the dialog template is one of its resources.
extern HINSTANCE g_moduleInstance;

}  // namespace plenwick

extern "C" {

// The dialog procedure of the cancel dialog.
INT_PTR CALLBACK AbrtDlgP(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The abort procedure the spooler calls during page output.
BOOL CALLBACK AbrtProc(HDC dc, int code);
}
