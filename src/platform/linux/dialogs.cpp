// Modeless dialogs from the module's templates, shown by the dialog
// program when there is a display. A window here is the program showing
// it; its messages (a button pressed, Escape) reach the thread that made it
// through PeekMessageA, as on Windows. With no display or no program no
// dialog is made, and printing goes on as without the cancel window.
#include <pthread.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/ascii.h"
#include "platform/linux/desktop/dialog_program.h"
#include "platform/winapi/handle_table.h"
#include "platform/winapi/winapi.h"

namespace {

constexpr DWORD kNotSupported = 50;
// How long the program may take to put its window up.
constexpr int kStartMs = 10000;

struct Window {
  std::unique_ptr<linux_platform::DialogProgram> program;
  DLGPROC procedure = nullptr;
  pthread_t thread;  // the thread whose messages these are
};

winapi::HandleTable<Window> g_windows(winapi::HandleKind::kWindow);

// The dialog program showing the template, once its window is up.
std::unique_ptr<linux_platform::DialogProgram> ShowTemplate(const winapi::DialogTemplate& dialog) {
  std::unique_ptr<linux_platform::DialogProgram> program =
      linux_platform::DialogProgram::Start("dialog");
  if (!program) return nullptr;
  bool sent = program->Send({"caption", dialog.caption});
  for (const winapi::DialogItem& item : dialog.items) {
    std::string id = std::to_string(item.id);
    if (item.button) {
      bool isDefault = item.id == dialog.defaultButton;
      sent = sent && program->Send({"button", id, item.text, isDefault ? "1" : "0"});
    } else {
      sent = sent && program->Send({"text", id, item.text});
    }
  }
  std::vector<std::string> fields;
  if (!sent || !program->Send({"show"}) || !program->Receive(fields, kStartMs) ||
      fields[0] != "ready") {
    return nullptr;
  }
  return program;
}

Window* Find(HWND window) {
  Window* found = g_windows.Find(window);
  if (!found) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return found;
}

}  // namespace

HWND CreateDialogParamA(HINSTANCE, LPCSTR name, HWND, DLGPROC procedure, LPARAM param) {
  const winapi::DialogTemplate* dialog = winapi::FindDialogTemplate(name);
  if (!dialog) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  auto window = std::make_unique<Window>();
  window->program = ShowTemplate(*dialog);
  if (!window->program) {
    SetLastError(kNotSupported);
    return nullptr;
  }
  window->procedure = procedure;
  window->thread = pthread_self();
  HWND handle = g_windows.Add<HWND>(std::move(window));
  if (procedure) procedure(handle, WM_INITDIALOG, 0, param);
  return handle;
}

BOOL DestroyWindow(HWND handle) {
  // The program goes with the window: its input closes and it ends.
  std::unique_ptr<Window> window = g_windows.Remove(handle);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL SetWindowTextA(HWND handle, LPCSTR text) {
  Window* window = Find(handle);
  if (!window) return FALSE;
  window->program->Send({"caption", text ? text : ""});
  return TRUE;
}

BOOL SetDlgItemTextA(HWND handle, int item, LPCSTR text) {
  Window* window = Find(handle);
  if (!window) return FALSE;
  window->program->Send({"text", std::to_string(item), text ? text : ""});
  return TRUE;
}

HWND GetFocus() { return nullptr; }

// A button of one of the calling thread's dialogs, as WM_COMMAND. A
// program that has ended (closed by force, or crashed) sends nothing more:
// its dialog stays a window without messages, and printing goes on.
BOOL PeekMessageA(LPMSG msg, HWND only, UINT, UINT, UINT) {
  if (!msg) return FALSE;
  BOOL found = FALSE;
  pthread_t self = pthread_self();
  g_windows.ForEach<HWND>([&](HWND handle, Window& window) {
    if (found || !pthread_equal(window.thread, self)) return;
    if (only && only != handle) return;
    std::vector<std::string> fields;
    while (window.program->Receive(fields, 0)) {
      if (fields.size() >= 2 && fields[0] == "command") {
        *msg = MSG{};
        msg->hwnd = handle;
        msg->message = WM_COMMAND;
        msg->wParam = MAKEWPARAM(plenwick::LeadingInt(fields[1].c_str()), BN_CLICKED);
        found = TRUE;
        return;
      }
    }
  });
  return found;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

// A dialog's message goes to its procedure.
LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  Window* window = g_windows.Find(msg->hwnd);
  if (!window || !window->procedure) return 0;
  return window->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!msg || msg->hwnd != dialog || !g_windows.Find(dialog)) return FALSE;
  DispatchMessageA(msg);
  return TRUE;
}
