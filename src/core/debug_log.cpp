#include "core/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/handles.h"

namespace plenwick {
namespace {

enum class LogState { kUndetermined, kEnabled, kDisabled };

// The log is written from the printing thread and from the launching and
// registry methods that run beside it: one line at a time.
std::mutex g_lock;
LogState g_state = LogState::kUndetermined;
UniqueStdioFile g_destination;

FILE* OpenLogFile(const char* path) { return fopen(path, "w"); }

void SettleFromEnvironment() {
  const char* path = getenv("PLENWICK_DEBUG");
  FILE* file = path ? OpenLogFile(path) : nullptr;
  g_destination.reset(file);
  g_state = file ? LogState::kEnabled : LogState::kDisabled;
}

}  // namespace

void DebugLog(const char* format, ...) {
  std::lock_guard<std::mutex> oneLine(g_lock);
  if (g_state == LogState::kUndetermined) SettleFromEnvironment();
  if (g_state != LogState::kEnabled || !g_destination) return;
  va_list args;
  va_start(args, format);
  vfprintf(g_destination.get(), format, args);
  va_end(args);
  fflush(g_destination.get());
}

bool RedirectDebugLog(const char* path) {
  std::lock_guard<std::mutex> oneLine(g_lock);
  // The previous destination is closed whether or not the new one opens, so
  // replacing the log never keeps a file open behind the process's back.
  g_destination.reset(OpenLogFile(path));
  if (!g_destination) {
    // Nothing more is written until a later redirect succeeds, not even to
    // a file that PLENWICK_DEBUG names.
    if (g_state == LogState::kUndetermined) g_state = LogState::kDisabled;
    return false;
  }
  g_state = LogState::kEnabled;
  return true;
}

void ResetDebugLogState() {
  std::lock_guard<std::mutex> oneLine(g_lock);
  g_destination.reset();
  g_state = LogState::kUndetermined;
}

}  // namespace plenwick
