#include "request/print_request.h"

#include <cstring>
#include <string>

#include "core/debug_log.h"
#include "core/regular_file.h"
#include "core/user_notice.h"
#include "device/printer_selection.h"
#include "options/option_table.h"
#include "render/page_loop.h"

namespace plenwick {
namespace {

// Removes the surrounding double quotes of a report file name in place: the
// first character, and the last one, whatever it is.
char* UnquoteFileName(char* argument) {
  if (argument[0] != '"') return argument;
  char* name = argument + 1;
  size_t length = strlen(name);
  if (length > 0) name[length - 1] = '\0';
  return name;
}

// The option table is sorted once, by the first request of the process;
// every later request finds it in order.
void PutOptionTableInOrder() {
  static const bool sorted = (SortOptionTable(), true);
  (void)sorted;
}

// Deletes a file that was printed. One that stays (open in another program,
// read-only) is told: the user expects it gone.
void DeleteReport(const char* name) {
  if (DeleteNamedFile(name)) return;
  DWORD error = GetLastError();
  std::string why = SystemErrorText(error);
  if (why.empty()) why = "error " + std::to_string(error);
  DebugLog("%s printed but not deleted: %s\n", name, why.c_str());
  TellUser("%s printed but not deleted: %s", name, why.c_str());
}

}  // namespace

PrintRequest::PrintRequest(int count) {
  RefreshPrinterSelection();
  PutOptionTableInOrder();
  DebugLog("argc = [%d]\n", count);
}

void PrintRequest::Handle(int index, char* argument) {
  if (!argument) {
    DebugLog("argv[%d] is null: skipped\n", index);
    return;
  }
  DebugLog("argv[%d] = [%s]\n", index, argument);
  if (argument[0] == '-' || (argument[0] == '/' && !SlashArgumentNamesFile(argument))) {
    Parse_Arg(job_, nesting_, argument + 1);
    return;
  }
  job_.fileName = UnquoteFileName(argument);
  bool printed = PrintReportFile(job_);
  DisposeJobFiles(job_, printed);
  job_.fileName = "";  // the argument is given back after this step
}

void RunPrintRequest(int count, char* const* arguments) {
  RunPrintRequest(count, [arguments](int index, auto handle) {
    handle(arguments[index]);
    return true;
  });
}

void DisposeJobFiles(const PrintJob& job, bool printed) {
  if (!job.scratch) return;
  if (!printed) {
    DebugLog("Keeping %s: it was not printed to the end\n", job.fileName);
    return;
  }
  // The name may have been given to another file while the report printed
  // (a new report moved into its place): that file was not printed, and
  // the configuration file goes with the report it belongs to.
  if (!StillNames(job.fileName, job.reportFile)) {
    DebugLog("Keeping %s: it is no longer the file that was printed\n", job.fileName);
    return;
  }
  DeleteReport(job.fileName);
  if (job.configFileName.empty()) return;
  const char* config = job.configFileName.c_str();
  UniqueFile now = OpenRegularFile(config);
  if (!now) return;  // gone: an earlier report of the request took it
  bool same = IdentityOf(now.get()) == job.configFile;
  now.reset();  // Windows deletes no open file
  if (same) {
    DeleteReport(config);
  } else {
    DebugLog("Keeping %s: it is no longer the configuration file that was read\n", config);
  }
}

}  // namespace plenwick
