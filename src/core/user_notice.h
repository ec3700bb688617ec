// What a user is told when a report does not print or an option is not
// applied: one line, "plenwick: " and the words, through OutputDebugStringA.
// On Windows a debugger or a viewer of debug output shows it; the Linux
// platform writes it to standard error, where a Java server's log gets it.
// It comes in addition to the diagnostic log and the message boxes.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "platform/win32.h"

namespace plenwick {

// The longest line told, its "plenwick: " and line end included; longer
// words are cut to fit.
constexpr size_t kUserNoticeCapacity = 512;

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void TellUser(const char* format, ...);

// The line for a report that was not printed: "plenwick: NAME not printed:
// WHY". Every way a report goes unprinted tells one such line.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void TellNotPrinted(const char* fileName, const char* format, ...);

// The system's words for error, without their line end; empty when it has
// none (or for ERROR_SUCCESS).
std::string SystemErrorText(DWORD error);

// Whether anybody can see a window of this process: not where its window
// station is invisible (a Windows service), where a window would wait for
// a click nobody can give.
bool WindowStationVisible();

// A message box where windows may be shown. Elsewhere its caption and text
// go to the log and a notice line instead, and it is answered with its
// safe choice: Cancel where the box has one, otherwise OK.
int ShowMessageBox(bool windowsShown, const char* text, const char* caption, UINT type);

// Whether a line told is one of TellNotPrinted's: a program that runs print
// requests (the console printer) fails when one comes.
inline bool SaysNotPrinted(const char* line) {
  static const char kPrefix[] = "plenwick: ";
  return strncmp(line, kPrefix, sizeof kPrefix - 1) == 0 && strstr(line, " not printed: ");
}

}  // namespace plenwick
