// Fuzzes the option parser with arbitrary option texts, option lists and
// quoting. Inputs with a '/' are skipped so that a `log` or `config` value
// can only name a file in the fuzzer's own working folder.
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/debug_log.h"
#include "core/print_job.h"
#include "options/option_parser.h"
#include "options/option_table.h"
#include "simwin/control.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (memchr(data, '/', size)) return 0;
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  plenwick::ResetDebugLogState();  // each input starts with the log off
  plenwick::PrintJob job;
  plenwick::ResetPrintJob(job);
  plenwick::SortOptionTable();
  plenwick::Parse_Arg(job, text.data());
  // The fixed fields always stay terminated.
  if (strnlen(job.printerName, sizeof job.printerName) == sizeof job.printerName) __builtin_trap();
  if (strnlen(job.formName, sizeof job.formName) == sizeof job.formName) __builtin_trap();
  if (strnlen(job.fontFace, sizeof job.fontFace) == sizeof job.fontFace) __builtin_trap();
  plenwick::ResetDebugLogState();  // a log the input opened is closed within it
  // The notices went to the simulated Windows' debug output, which keeps
  // them: forgotten here, or every input would grow it.
  simwin::ClearRecords();
  return 0;
}
