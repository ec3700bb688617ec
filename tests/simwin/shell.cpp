#include <deque>
#include <memory>
#include <mutex>

#include "internal.h"

namespace {

struct Outcome {
  uintptr_t hInstApp;
  bool startsProcess;
};

struct Process {
  int number;
};

// Launches come from any thread of the host, beside a print: the records,
// the scripted outcomes and the process table are shared, one call at a
// time.
std::mutex g_lock;
std::vector<simwin::ShellExecution> g_executions;
std::vector<std::string> g_events;
std::deque<Outcome> g_outcomes;
simwin::HandleTable<Process> g_processes(simwin::HandleKind::kProcess);
int g_processesStarted = 0;

simwin::ShellText Copy(LPCSTR text) {
  simwin::ShellText copy;
  copy.present = text != nullptr;
  if (text) copy.text = text;
  return copy;
}

bool OtherFieldsZero(const SHELLEXECUTEINFOA& info) {
  return !info.hInstApp && !info.lpIDList && !info.lpClass && !info.hkeyClass && !info.dwHotKey &&
         !info.hIcon && !info.hProcess;
}

std::string ProcessName(HANDLE handle) {
  Process* process = g_processes.Find(handle);
  return process ? "process " + std::to_string(process->number) : "unknown handle";
}

}  // namespace

// The simulated Windows is Windows: a slash begins a switch.
BOOL ShellSlashWordIsPath(LPCSTR, size_t, BOOL) { return FALSE; }

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) {
  std::lock_guard<std::mutex> oneCall(g_lock);
  g_executions.push_back({info->cbSize, info->fMask, info->hwnd, Copy(info->lpVerb),
                          Copy(info->lpFile), Copy(info->lpParameters), Copy(info->lpDirectory),
                          info->nShow, OtherFieldsZero(*info)});
  g_events.push_back("ShellExecuteExA(" + std::string(info->lpFile ? info->lpFile : "(null)") +
                     ")");
  Outcome outcome{42, true};
  if (!g_outcomes.empty()) {
    outcome = g_outcomes.front();
    g_outcomes.pop_front();
  }
  info->hInstApp = reinterpret_cast<HINSTANCE>(outcome.hInstApp);
  info->hProcess = nullptr;
  if (outcome.startsProcess && (info->fMask & SEE_MASK_NOCLOSEPROCESS)) {
    auto process = std::make_unique<Process>();
    process->number = ++g_processesStarted;
    info->hProcess = g_processes.Add<HANDLE>(std::move(process));
  }
  return outcome.hInstApp > 32 ? TRUE : FALSE;
}

// Simulated processes have already ended, so a wait returns at once.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  std::lock_guard<std::mutex> oneCall(g_lock);
  std::string timeout = milliseconds == INFINITE ? "INFINITE" : std::to_string(milliseconds);
  g_events.push_back("WaitForSingleObject(" + ProcessName(handle) + ", " + timeout + ")");
  if (!g_processes.Find(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE handle) {
  std::lock_guard<std::mutex> oneCall(g_lock);
  g_events.push_back("CloseHandle(" + ProcessName(handle) + ")");
  if (!g_processes.Remove(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

namespace simwin {

const std::vector<ShellExecution>& ShellExecutions() { return g_executions; }
void QueueShellOutcome(uintptr_t hInstApp, bool startsProcess) {
  std::lock_guard<std::mutex> oneCall(g_lock);
  g_outcomes.push_back({hInstApp, startsProcess});
}
const std::vector<std::string>& ShellEvents() { return g_events; }

namespace detail {

size_t LiveProcessCount() { return g_processes.Count(); }

void ResetShell() {
  std::lock_guard<std::mutex> oneCall(g_lock);
  g_executions.clear();
  g_events.clear();
  g_outcomes.clear();
  g_processes.Clear();
  g_processesStarted = 0;
}

}  // namespace detail

}  // namespace simwin
