// The diagnostic log: printf-style lines to a file named by the
// PLENWICK_DEBUG environment variable or by the log option; off otherwise.
#pragma once

namespace plenwick {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void DebugLog(const char* format, ...);

// Sends all later messages to path, truncating it. When the file cannot be
// opened, nothing is written until a later redirect succeeds.
bool RedirectDebugLog(const char* path);

// Forgets the log state, as in a new process: the next message reads
// PLENWICK_DEBUG again. For tests.
void ResetDebugLogState();

}  // namespace plenwick
