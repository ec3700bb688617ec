// Simulated dialogs, windows and the thread's message queue. A window is a
// plain record (caption, items, owner); dialogs are made from a small
// registry of templates the simulation knows by name.
#pragma once

#include <string>
#include <vector>

#include "types.h"

#define WM_NULL 0x0000
#define WM_DESTROY 0x0002
#define WM_KEYDOWN 0x0100
#define WM_CHAR 0x0102
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define WM_USER 0x0400

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B

#define BN_CLICKED 0

#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)(((WORD)(l)) | (((DWORD)(WORD)(h)) << 16)))

#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *LPPOINT;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *LPMSG;

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                        LPARAM initParam);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR buffer, int size);
BOOL SetDlgItemTextA(HWND dialog, int item, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int item, LPSTR buffer, int size);
HWND GetFocus();

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT flags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
BOOL IsDialogMessageA(HWND dialog, LPMSG msg);

namespace simwin {

struct DialogItem {
  int id;  // -1 for the texts that are never addressed
  std::string text;
};

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
size_t LiveWindowCount();
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

void ResetDialogs();

}  // namespace simwin
