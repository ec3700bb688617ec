// The dialog program, started on demand: the library shows its dialogs
// through a program of its own (installed beside it) rather than calling a
// toolkit itself, because the virtual machine it runs in may already run a
// toolkit on threads of its own, and a toolkit set up twice in one process
// is a crash. A machine without a display, or without the program, gets no
// dialogs; the library then answers as it does on a server.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/unique_any.h"

namespace linux_platform {

void CloseDescriptor(int descriptor);
using UniqueDescriptor = plenwick::UniqueAny<int, CloseDescriptor, -1>;

// Whether dialogs can be shown at all: a display is named.
bool HasDisplay();

class DialogProgram {
 public:
  // The program started for a dialog of that kind, talking over a socket
  // of its own; null when there is no display, no program or no process.
  static std::unique_ptr<DialogProgram> Start(const char* kind);
  // Closes the program's input, which ends it, and waits for it a moment;
  // one that stays is killed, so no process outlives its dialog.
  ~DialogProgram();
  DialogProgram(const DialogProgram&) = delete;
  DialogProgram& operator=(const DialogProgram&) = delete;

  // Sends one message; false once the program is gone.
  bool Send(const std::vector<std::string>& fields);
  // The next message of the program. Waits up to timeoutMs (-1: as long as
  // it takes); false when none came in time or the program has ended.
  bool Receive(std::vector<std::string>& fields, int timeoutMs);
  // Whether the program's output has ended (it exited or crashed).
  bool ended() const { return ended_; }

 private:
  DialogProgram(pid_t process, UniqueDescriptor channel);
  bool TakeLine(std::vector<std::string>& fields);

  pid_t process_;
  UniqueDescriptor channel_;
  std::string pending_;
  bool ended_ = false;
};

// Where the program is looked for: beside the library (or the executable)
// this code was linked into.
std::string DialogProgramPath();

}  // namespace linux_platform
