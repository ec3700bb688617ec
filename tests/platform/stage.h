// What a conformance case needs from outside the Win32 subset: a machine
// set up as a user's would be (the printer "PDF", registry values, a user
// answering a message box), and where a platform lets a test see it, what
// became of a document. One stage a platform: stage_simwin.cpp,
// stage_linux.cpp, stage_windows.cpp.
#pragma once

#include <string>

#include "platform/win32.h"

namespace conformance {

// The printer every printing case uses: the print server's queue "PDF",
// the simulated Windows' printer of that name.
constexpr const char* kPrinter = "PDF";

// Before every case: the simulated Windows is made fresh; the others keep
// their machine as it is.
void FreshMachine();

// Whether a print server is to be there (the test command starts one). A
// printing case is skipped when there is none; when there should be one
// and its printer is missing, it fails.
bool PrintServerExpected();

// A value under HKEY_CURRENT_USER\subKey, stored with exactly these bytes.
// False when this platform's stage cannot store it.
bool PresetRegistryValue(const std::string& subKey, const std::string& name, DWORD type,
                         const std::string& data);

// The user answers the next message box with this button (as soon as it
// shows). False when no user can be scripted on this platform.
bool ScriptMessageBoxAnswer(const char* caption, int answer);

// What became of the last document of this title that was started.
enum class DocumentFate { kUnknown, kPrinted, kThrownAway, kNone };
DocumentFate FateOfDocument(const std::string& title);

// Platform objects the program still holds, or -1 where the platform does
// not count them.
long OpenHandleCount();

}  // namespace conformance
