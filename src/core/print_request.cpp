#include "core/print_request.h"

#include <cstring>

#include "core/debug_log.h"
#include "device/printer_selection.h"
#include "options/option_parser.h"
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

}  // namespace

void BeginPrintRequest(PrintJob& job, int count) {
  ResetPrintJob(job);
  ResetOptionNesting();
  GetDevMode();
  SortOptionTable();
  DebugLog("argc = [%d]\n", count);
}

void HandlePrintArgument(PrintJob& job, int index, char* argument) {
  DebugLog("argv[%d] = [%s]\n", index, argument);
  if (argument[0] == '-' || argument[0] == '/') {
    Parse_Arg(job, argument + 1);
    return;
  }
  job.fileName = UnquoteFileName(argument);
  bool printed = PrintReportFile(job);
  DisposeJobFiles(job, printed);
  job.fileName = "";  // the argument is given back after this step
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
