// What a user is told when a report does not print or an option is not
// applied: one line, "plenwick: " and the words, through OutputDebugStringA.
// On Windows a debugger or a viewer of debug output shows it; the Linux
// platform writes it to standard error, where a Java server's log gets it.
// It comes in addition to the diagnostic log and the message boxes.
#pragma once

#include <cstddef>

namespace plenwick {

// The longest line told, its "plenwick: " and line end included; longer
// words are cut to fit.
constexpr size_t kUserNoticeCapacity = 512;

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void TellUser(const char* format, ...);

}  // namespace plenwick
