#include "request/print_request.h"

#include <cstring>

#include "core/debug_log.h"
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

}  // namespace

PrintRequest::PrintRequest(int count) {
  GetDevMode();
  PutOptionTableInOrder();
  DebugLog("argc = [%d]\n", count);
}

void PrintRequest::Handle(int index, char* argument) {
  if (!argument) {
    DebugLog("argv[%d] is null: skipped\n", index);
    return;
  }
  DebugLog("argv[%d] = [%s]\n", index, argument);
  if (argument[0] == '-' || argument[0] == '/') {
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
  DeleteFileA(job.fileName);
  if (!job.configFileName.empty()) DeleteFileA(job.configFileName.c_str());
}

}  // namespace plenwick
