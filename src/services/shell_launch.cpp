#include "services/shell_launch.h"

#include <cstring>

#include "core/debug_log.h"
#include "core/wide_name.h"
#include "platform/handles.h"
#include "platform/win32.h"

namespace plenwick {
namespace {

// An error code of 32 or less in hInstApp means the shell failed.
constexpr UINT_PTR kLastShellError = 32;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether the word at text[0] (its slash) is a switch that the table below
// knows, whether honoured or not: "W", or "M" then "A" or "I".
bool KnownSwitch(const char* text) {
  char first = Upper(text[1]);
  if (first == 'W') return true;
  if (first != 'M') return false;
  char second = Upper(text[2]);  // text[1] is a letter, so text[2] exists
  return second == 'A' || second == 'I';
}

// Applies the switch whose slash is at text[0]. A switch is known by its
// first one or two letters; "M" needs a second letter to mean anything.
void ApplySwitch(const char* text, bool honourShowSwitches, ShellCommand& command) {
  char first = Upper(text[1]);
  if (first == 'W') {
    command.wait = true;
    return;
  }
  if (first != 'M' || !honourShowSwitches) return;
  char second = Upper(text[2]);  // text[1] is a letter, so text[2] exists
  if (second == 'A') command.showState = SW_SHOWMAXIMIZED;
  if (second == 'I') command.showState = SW_SHOWMINNOACTIVE;
}

// Reads the leading switches; returns the position of the first character
// that is neither a blank nor part of a switch.
char* ReadSwitches(char* scan, bool honourShowSwitches, ShellCommand& command) {
  for (;;) {
    while (*scan == ' ') ++scan;
    if (*scan != '/') return scan;
    size_t length = strcspn(scan, " ");
    // Where a slash also begins a path, a word that is one ends the switches:
    // it is the file to launch.
    if (ShellSlashWordIsPath(scan, length, KnownSwitch(scan))) return scan;
    ApplySwitch(scan, honourShowSwitches, command);
    scan += length;
  }
}

// Ends the file token that starts at scan in place and returns where the
// parameter text begins, or null when there is none. A closing quote ends
// the token: the one character after it becomes the terminator.
char* CutFileToken(char* scan) {
  bool inQuote = false;
  for (; *scan != '\0'; ++scan) {
    if (*scan == '"') {
      if (!inQuote) {
        inQuote = true;
        continue;
      }
      if (scan[1] == '\0') return nullptr;  // closing quote ends the text
      scan[1] = '\0';
      return scan + 2;
    }
    if (*scan == ' ' && !inQuote) {
      *scan = '\0';
      return scan + 1;
    }
  }
  return nullptr;
}

}  // namespace

const char* ShellVerb(const char* verbText) {
  return strncmp(verbText, "**NULL**", 8) == 0 ? nullptr : verbText;
}

size_t TrimmedLength(const char* text, size_t length) {
  while (length > 0 && text[length - 1] == ' ') --length;
  return length;
}

bool ParseShellCommand(const char* text, bool honourShowSwitches, ShellCommand& command) {
  command.wait = false;
  command.showState = SW_SHOWNORMAL;
  command.file = command.buffer;
  command.parameters = nullptr;
  command.buffer[0] = '\0';
  size_t length = strlen(text);
  if (length >= kCommandBufferSize) return false;
  memcpy(command.buffer, text, length + 1);

  char* file = ReadSwitches(command.buffer, honourShowSwitches, command);
  command.file = file;
  char* parameters = CutFileToken(file);
  if (parameters && TrimmedLength(parameters, strlen(parameters)) != 0) {
    command.parameters = parameters;
  }
  return true;
}

namespace {

// COM on the calling thread while the shell launches: a verb may run a
// shell extension, which needs it. A thread keeps the COM it had: every
// successful initialisation (S_OK, or S_FALSE where the thread had it
// already) is undone, once; RPC_E_CHANGED_MODE says the thread has COM of
// the other model, which stays as it is.
class ComScope {
 public:
  ComScope()
      : initialised_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
  }
  ~ComScope() {
    if (initialised_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialised_;
};

}  // namespace

void LaunchShellCommand(const char* text, const char* verb, bool honourShowSwitches) {
  ShellCommand command;
  if (!ParseShellCommand(text, honourShowSwitches, command)) {
    DebugLog("LaunchShellCommand() command of %u bytes is longer than %u: not launched\n",
             static_cast<unsigned>(strlen(text)), static_cast<unsigned>(kCommandBufferSize - 1));
    return;
  }
  WideName verbName(verb);
  WideName file(command.file);
  WideName parameters(command.parameters);
  SHELLEXECUTEINFOW info;
  memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  info.fMask = command.wait ? SEE_MASK_NOCLOSEPROCESS : 0;
  info.hwnd = nullptr;
  info.lpVerb = verbName.get();
  info.lpFile = file.get();
  info.lpParameters = parameters.get();
  info.lpDirectory = nullptr;
  info.nShow = command.showState;
  {
    ComScope com;
    ShellExecuteExW(&info);
  }

  // A process handle the shell hands back is ours to close, waited for or not.
  UniqueKernelHandle process(info.hProcess);
  bool launched = reinterpret_cast<UINT_PTR>(info.hInstApp) > kLastShellError;
  if (launched && command.wait && process) WaitForSingleObject(process.get(), INFINITE);
}

}  // namespace plenwick
