#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/dialog_template.h"
#include "platform/ascii.h"

namespace winapi {
namespace {

// Made on first use, so that a module registering its templates as it is
// loaded finds it ready; shared by every thread, so held under a lock.
std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}
std::deque<DialogTemplate>& Templates() {
  static std::deque<DialogTemplate> templates;  // entries never move
  return templates;
}

}  // namespace

void AddDialogTemplate(const DialogTemplate& dialogTemplate) {
  std::lock_guard<std::mutex> hold(Lock());
  for (DialogTemplate& entry : Templates()) {
    if (plenwick::EqualsIgnoreCase(entry.name.c_str(), dialogTemplate.name.c_str())) {
      entry = dialogTemplate;
      return;
    }
  }
  Templates().push_back(dialogTemplate);
}

const DialogTemplate* FindDialogTemplate(const char* name) {
  if (reinterpret_cast<uintptr_t>(name) < 0x10000) return nullptr;
  std::lock_guard<std::mutex> hold(Lock());
  // Templates are added when modules load and never removed, so an entry
  // stays where it is for the life of the process.
  for (const DialogTemplate& entry : Templates()) {
    if (plenwick::EqualsIgnoreCase(entry.name.c_str(), name))
      return &entry;  // resource names ignore case
  }
  return nullptr;
}

}  // namespace winapi
