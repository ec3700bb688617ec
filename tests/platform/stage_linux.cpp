// The stage on the Linux platform: the test command's print server (the
// queue "PDF" of CUPS_SERVER), a regedit export that PLENWICK_REGISTRY
// names, and CUPS' own job list to see what became of a document.
#include <cups/cups.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <thread>

#include "conformance.h"

namespace conformance {
namespace {

struct Value {
  DWORD type;
  std::string data;
};
// Keys in the order first stored, each with its values.
std::map<std::string, std::map<std::string, Value>> g_registry;

// The export of this run, removed when the program ends.
struct RegistryExport {
  std::string path = "conformance-" + std::to_string(getpid()) + ".reg";
  ~RegistryExport() { unlink(path.c_str()); }
};

const std::string& RegistryFile() {
  static const RegistryExport file;
  return file.path;
}

// Every value as hex(TYPE): its bytes go through unchanged, whatever they are.
bool WriteRegistryFile() {
  std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(RegistryFile().c_str(), "wb"), fclose);
  if (!file) return false;
  fprintf(file.get(), "REGEDIT4\r\n");
  for (const auto& key : g_registry) {
    fprintf(file.get(), "\r\n[HKEY_CURRENT_USER\\%s]\r\n", key.first.c_str());
    for (const auto& value : key.second) {
      fprintf(file.get(), "\"%s\"=hex(%x):", value.first.c_str(),
              static_cast<unsigned>(value.second.type));
      const std::string& data = value.second.data;
      for (size_t i = 0; i < data.size(); ++i) {
        fprintf(file.get(), "%s%02x", i ? "," : "", static_cast<unsigned char>(data[i]));
      }
      fprintf(file.get(), "\r\n");
    }
  }
  return fflush(file.get()) == 0;
}

struct JobsDeleter {
  int count;
  void operator()(cups_job_t* jobs) const { cupsFreeJobs(count, jobs); }
};

// The state of the newest job of this title on the printer, or 0.
ipp_jstate_t NewestJobState(const std::string& title) {
  cups_job_t* jobs = nullptr;
  int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, kPrinter, 0, CUPS_WHICHJOBS_ALL);
  std::unique_ptr<cups_job_t, JobsDeleter> owned(jobs, {count < 0 ? 0 : count});
  int newest = 0;
  ipp_jstate_t state = static_cast<ipp_jstate_t>(0);
  for (int i = 0; i < count; ++i) {
    if (jobs[i].title && title == jobs[i].title && jobs[i].id > newest) {
      newest = jobs[i].id;
      state = jobs[i].state;
    }
  }
  return state;
}

}  // namespace

Platform ThisPlatform() { return kLinux; }

void FreshMachine() {}

bool PrintServerExpected() { return getenv("CUPS_SERVER") != nullptr; }

bool PresetRegistryValue(const std::string& subKey, const std::string& name, DWORD type,
                         const std::string& data) {
  g_registry[subKey][name] = Value{type, data};
  setenv("PLENWICK_REGISTRY", RegistryFile().c_str(), 1);
  return WriteRegistryFile();
}

// No dialogs: a message box answers its safe button by itself.
bool ScriptMessageBoxAnswer(const char*, int) { return false; }

DocumentFate FateOfDocument(const std::string& title) {
  // The server finishes a job in its own time: wait for it to get there.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  for (;;) {
    ipp_jstate_t state = NewestJobState(title);
    if (state == 0) return DocumentFate::kNone;
    if (state == IPP_JSTATE_COMPLETED) return DocumentFate::kPrinted;
    if (state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED) {
      return DocumentFate::kThrownAway;
    }
    if (std::chrono::steady_clock::now() > deadline) return DocumentFate::kUnknown;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

long OpenHandleCount() { return -1; }

}  // namespace conformance
