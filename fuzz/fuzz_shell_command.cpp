// Fuzzes the shell command parser: switches, quotes and blanks in any
// order, and texts longer than the command buffer. The file token and the
// parameters must stay inside the buffer and end there.
#include <cstdint>
#include <cstring>
#include <vector>

#include "services/shell_launch.h"
#include "simwin/control.h"

namespace {

bool EndsInBuffer(const plenwick::ShellCommand& command, const char* text) {
  const char* start = command.buffer;
  const char* end = command.buffer + sizeof command.buffer;
  return text >= start && text < end && memchr(text, '\0', end - text) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  size_t length = strlen(text.data());
  for (bool honour : {true, false}) {
    plenwick::ShellCommand command;
    memset(command.buffer, 'X', sizeof command.buffer);  // nothing is read past the text
    bool parsed = plenwick::ParseShellCommand(text.data(), honour, command);
    if (parsed != (length < plenwick::kCommandBufferSize)) __builtin_trap();
    if (!parsed) continue;
    if (!EndsInBuffer(command, command.file)) __builtin_trap();
    if (command.parameters && !EndsInBuffer(command, command.parameters)) __builtin_trap();
    if (command.parameters && command.parameters <= command.file) __builtin_trap();
    if (!honour && command.showState != 1) __builtin_trap();
  }
  simwin::ClearRecords();  // a log line the parse left on the simulated Windows
  return 0;
}
