#include <algorithm>
#include <cstring>
#include <deque>

#include "internal.h"
#include "platform/ascii.h"

#define ERROR_CONTROL_ID_NOT_FOUND 1421L

namespace {

simwin::HandleTable<simwin::WindowInfo> g_windows(simwin::HandleKind::kWindow);
std::deque<MSG> g_queue;
std::vector<MSG> g_dispatched;
size_t g_translated = 0;
HWND g_focus = nullptr;
size_t g_dialogsCreated = 0;
bool g_failNextCreate = false;

simwin::WindowInfo* Find(HWND window) {
  simwin::WindowInfo* info = g_windows.Find(window);
  if (!info) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return info;
}

simwin::DialogItem* FindItem(HWND dialog, int id) {
  simwin::WindowInfo* info = Find(dialog);
  if (!info) return nullptr;
  for (simwin::DialogItem& item : info->items) {
    if (item.id == id) return &item;
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

// Copies text into a caller's buffer as the Get...Text functions do: cut
// to the buffer, always terminated. Returns the characters copied.
int CopyOut(const std::string& text, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  int count = std::min(static_cast<int>(text.size()), size - 1);
  memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return count;
}

LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const simwin::WindowInfo* info = g_windows.Find(window);
  if (!info || !info->procedure) return 0;
  return info->procedure(window, message, wParam, lParam);
}

bool Matches(const MSG& msg, HWND window, UINT first, UINT last) {
  if (window && msg.hwnd != window) return false;
  if (first == 0 && last == 0) return true;
  return msg.message >= first && msg.message <= last;
}

}  // namespace

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                        LPARAM initParam) {
  const simwin::DialogTemplate* found = winapi::FindDialogTemplate(templateName);
  if (g_failNextCreate || !found) {
    g_failNextCreate = false;
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  auto info = std::make_unique<simwin::WindowInfo>();
  info->templateName = found->name;
  info->instance = instance;
  info->owner = owner;
  info->caption = found->caption;
  info->items = found->items;
  info->procedure = procedure;
  info->defaultButton = found->defaultButton;
  HWND window = g_windows.Add<HWND>(std::move(info));
  ++g_dialogsCreated;
  // As on Windows, the procedure sees WM_INITDIALOG before the caller gets
  // the window; a procedure that destroys it there makes creation fail.
  CallProcedure(window, WM_INITDIALOG, 0, initParam);
  return g_windows.Find(window) ? window : nullptr;
}

BOOL DestroyWindow(HWND window) {
  if (!Find(window)) return FALSE;
  CallProcedure(window, WM_DESTROY, 0, 0);
  // Messages still queued for the window go with it.
  g_queue.erase(std::remove_if(g_queue.begin(), g_queue.end(),
                               [window](const MSG& msg) { return msg.hwnd == window; }),
                g_queue.end());
  if (g_focus == window) g_focus = nullptr;
  g_windows.Remove(window);
  return TRUE;
}

BOOL IsWindow(HWND window) { return g_windows.Find(window) != nullptr; }

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  simwin::WindowInfo* info = Find(window);
  if (!info) return FALSE;
  info->caption = text ? text : "";
  return TRUE;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  const simwin::WindowInfo* info = Find(window);
  return CopyOut(info ? info->caption : std::string(), buffer, size);
}

BOOL SetDlgItemTextA(HWND dialog, int item, LPCSTR text) {
  simwin::DialogItem* found = FindItem(dialog, item);
  if (!found) return FALSE;
  found->text = text ? text : "";
  return TRUE;
}

UINT GetDlgItemTextA(HWND dialog, int item, LPSTR buffer, int size) {
  const simwin::DialogItem* found = FindItem(dialog, item);
  return static_cast<UINT>(CopyOut(found ? found->text : std::string(), buffer, size));
}

HWND GetFocus() { return g_focus; }

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A null window posts to the thread itself.
  if (window && !Find(window)) return FALSE;
  g_queue.push_back(MSG{window, message, wParam, lParam, 0, POINT{0, 0}});
  return TRUE;
}

BOOL PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT flags) {
  for (auto it = g_queue.begin(); it != g_queue.end(); ++it) {
    if (!Matches(*it, window, first, last)) continue;
    *msg = *it;
    if (flags & PM_REMOVE) g_queue.erase(it);
    return TRUE;
  }
  return FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
  ++g_translated;
  return msg->message == WM_KEYDOWN;
}

LRESULT DispatchMessageA(const MSG* msg) {
  g_dispatched.push_back(*msg);
  return CallProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
  const simwin::WindowInfo* info = g_windows.Find(dialog);
  if (!info || msg->hwnd != dialog) return FALSE;
  // The dialog's keyboard interface: Enter presses the default button,
  // Escape presses Cancel. Everything else goes to the dialog procedure.
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    int id = info->defaultButton ? info->defaultButton : IDOK;
    CallProcedure(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  } else if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
    CallProcedure(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  } else {
    CallProcedure(dialog, msg->message, msg->wParam, msg->lParam);
  }
  return TRUE;
}

namespace simwin {

const WindowInfo* FindWindowInfo(HWND window) { return g_windows.Find(window); }

HWND FindDialog(const std::string& templateName) {
  HWND newest = nullptr;
  g_windows.ForEach<HWND>([&](HWND window, const WindowInfo& info) {
    if (plenwick::EqualsIgnoreCase(info.templateName.c_str(), templateName.c_str())) {
      newest = window;  // handles grow, so the last is the newest
    }
  });
  return newest;
}

void FailNextCreateDialog() { g_failNextCreate = true; }
void SetFocusWindow(HWND window) { g_focus = window; }

void PressDialogButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void PressKey(HWND dialog, int virtualKey) {
  PostMessageA(dialog, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 0);
}

size_t QueuedMessageCount() { return g_queue.size(); }
const std::vector<MSG>& DispatchedMessages() { return g_dispatched; }
size_t TranslatedMessageCount() { return g_translated; }

namespace detail {

size_t LiveWindowCount() { return g_windows.Count(); }

void ResetDialogs() {
  g_windows.Clear();
  g_queue.clear();
  g_dispatched.clear();
  g_translated = 0;
  g_focus = nullptr;
  g_failNextCreate = false;
  g_dialogsCreated = 0;
}

}  // namespace detail

size_t DialogsCreated() { return g_dialogsCreated; }

}  // namespace simwin
