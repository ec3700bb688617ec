// Launching programs and documents through the shell from a small command
// line of their own: switches, the file to launch, its parameters.
#pragma once

#include <cstddef>

namespace plenwick {

// The private copy of one command text: at most 1,023 bytes and a terminator.
constexpr size_t kCommandBufferSize = 1024;

// One command text parsed in its buffer. file and parameters point into the
// buffer, which the parse has cut in place.
struct ShellCommand {
  char buffer[kCommandBufferSize];
  bool wait;               // wait switch: block until the process ends
  int showState;           // SW_SHOWNORMAL unless a show switch said otherwise
  const char* file;        // the file token, quotes included; may be empty
  const char* parameters;  // null when there are none
};

// Parses a command text into command. Show switches count only when
// honourShowSwitches is set. A text longer than the buffer holds is refused
// (false): launching a command cut short could start something other than
// what the caller asked for.
bool ParseShellCommand(const char* text, bool honourShowSwitches, ShellCommand& command);

// Launches one command text with the given verb (null: the shell's default)
// and waits for the process when the command asks for it.
void LaunchShellCommand(const char* text, const char* verb, bool honourShowSwitches);

// The verb to hand the shell for a verb text: null (the file's default
// verb) when the text begins with "**NULL**", else the text itself.
const char* ShellVerb(const char* verbText);

// The length of text without its trailing blanks; 0 for blanks only.
size_t TrimmedLength(const char* text, size_t length);

}  // namespace plenwick
