// The stage on the simulated Windows: its control API sets up the machine
// and shows what became of documents.
#include "simwin/control.h"
#include "stage.h"
#include "conformance.h"

namespace conformance {

Platform ThisPlatform() { return kSimwin; }

void FreshMachine() { simwin::Reset(); }

bool PrintServerExpected() { return true; }

bool PresetRegistryValue(const std::string& subKey, const std::string& name, DWORD type,
                         const std::string& data) {
  simwin::SetRegistryValue(HKEY_CURRENT_USER, subKey, name, type, data);
  return true;
}

bool ScriptMessageBoxAnswer(const char*, int answer) {
  simwin::QueueMessageBoxAnswer(answer);
  return true;
}

DocumentFate FateOfDocument(const std::string& title) {
  std::vector<simwin::SpooledDocument> documents = simwin::Documents();
  for (auto it = documents.rbegin(); it != documents.rend(); ++it) {
    if (it->name != title) continue;
    switch (it->end) {
      case simwin::SpooledDocument::kEnded:
        return DocumentFate::kPrinted;
      case simwin::SpooledDocument::kOpen:
        return DocumentFate::kUnknown;
      default:
        return DocumentFate::kThrownAway;
    }
  }
  return DocumentFate::kNone;
}

long OpenHandleCount() { return static_cast<long>(simwin::OpenHandleCount()); }

}  // namespace conformance
