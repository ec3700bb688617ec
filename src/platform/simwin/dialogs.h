// Simulated dialogs, windows and the thread's message queue. A window is a
// plain record (caption, items, owner); dialogs are made from a small
// registry of templates the simulation knows by name.
#pragma once

#include <string>
#include <vector>

#include "../winapi/dialogs.h"

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
