// Fuzzes whole print requests on the simulated Windows: options, a
// configuration file and the report's bytes. After each request every
// platform object must have been given back, and every printable character
// of the report, as the overstrike decoder reads it, must have reached the
// page in order: none lost, none doubled.
//
// Input: option lines, a NUL, the configuration file, a NUL, the report.
// Options may not hold '/' or '\', so a `log` or `config` value names a file
// of the working folder only; the report lives in a folder of its own,
// which no option can name, so no option overwrites it.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "device/printer_selection.h"
#include "expected_characters.h"
#include "machine.h"
#include "simwin/control.h"
#include "render/overstrike.h"
#include "render/text_output.h"
#include "request/print_request.h"

namespace {

const char kReport[] = "in/report.txt";
const int kLineCapacity = 511;  // what the page loop's line buffer holds

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

// The library's diagnostic log goes to /dev/null: every log line is still
// made, but a log that an input names as its own configuration file cannot
// feed on itself, argument after argument, growing by megabytes an input
// and slowing the fuzzer tenfold. The log is the one file opened with mode
// "w" under a name without a folder (options here hold no '/'); this
// harness's files, libFuzzer's corpus, findings and merge files all have
// one, and are written where asked. The option fuzzer keeps the real log.
// Linked with --wrap=fopen.
extern "C" FILE* __real_fopen(const char* path, const char* mode);
extern "C" FILE* __wrap_fopen(const char* path, const char* mode) {
  bool isLog = strcmp(mode, "w") == 0 && strchr(path, '/') == nullptr;
  return __real_fopen(isLog ? "/dev/null" : path, mode);
}

namespace {

bool WriteFile(const char* path, const std::string& bytes) {
  FILE* file = fopen(path, "wb");
  if (!file) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

// What a page shows of a text: its printable ASCII characters.
std::string Printable(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (c > ' ' && c < 0x7f) kept += c;
  }
  return kept;
}

// The report as the page loop must print it, cut into lines as the line
// reader cuts them (form feeds and carriage returns dropped, a line feed
// ending a line, at most kLineCapacity bytes a line) and decoded: each
// line's cells, then the characters struck over them, in the order they
// are drawn.
std::string DecodedText(const std::string& report, bool detectUtf8, bool raw) {
  std::string expected;
  std::string line;
  plenwick::CellRules rules;
  rules.passThrough = raw;
  auto flush = [&] {
    if (line.empty()) return;
    plenwick::DecodedLine decoded;
    plenwick::DecodeOverstrike(line.data(), static_cast<int>(line.size()), decoded, detectUtf8,
                               &rules);
    int over = 0;
    for (int start = 0; start < decoded.length;) {
      int length = plenwick::GridRunLength(decoded, start);
      expected.append(decoded.text + start, static_cast<size_t>(length));
      for (; over < decoded.overprintCount && decoded.overprints[over].position < start + length;
           ++over) {
        expected.append(decoded.overprints[over].text,
                        static_cast<size_t>(decoded.overprints[over].length));
      }
      start += length;
    }
    line.clear();
  };
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(report.data());
  for (char c : ExpectedCharacters(bytes, report.size(), raw)) {
    if (c == '\f') {
      flush();
      continue;
    }
    if (c == '\r') continue;
    line += c == '\n' && !raw ? '\0' : c;
    if (c == '\n' || line.size() == kLineCapacity) flush();
  }
  flush();
  return expected;
}

// The job may ask for the text in the OEM or the ANSI code page; a
// translated character may become printable ASCII (a best fit, a '?').
bool PrintedAsDecoded(const std::string& printed, const std::string& decoded) {
  if (printed == Printable(decoded)) return true;
  std::string translated(decoded.size(), '\0');
  DWORD length = static_cast<DWORD>(decoded.size());
  CharToOemBuffA(decoded.data(), &translated[0], length);
  if (printed == Printable(translated)) return true;
  OemToCharBuffA(decoded.data(), &translated[0], length);
  return printed == Printable(translated);
}

// Everything that reached the pages of the printed documents.
std::string PrintedText() {
  std::string printed;
  for (const simwin::GdiEvent& event : simwin::GdiEvents()) {
    bool passed = event.kind == simwin::GdiEvent::kEscape && event.escape == PASSTHROUGH;
    if (event.kind == simwin::GdiEvent::kText || passed) printed += Printable(event.text);
  }
  return printed;
}

std::vector<std::string> OptionArguments(const std::string& text) {
  std::vector<std::string> arguments;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string option = text.substr(start, end - start);
    // Every argument is an option: the report is the request's only file.
    if (option.empty() || (option[0] != '-' && option[0] != '/')) option.insert(0, "-");
    arguments.push_back(option);
    start = end + 1;
  }
  return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t first = input.find('\0');
  if (first == std::string::npos) return 0;
  size_t second = input.find('\0', first + 1);
  if (second == std::string::npos) return 0;
  std::string options = input.substr(0, first);
  std::string config = input.substr(first + 1, second - first - 1);
  std::string report = input.substr(second + 1);
  if (options.find_first_of("/\\") != std::string::npos) return 0;
  if (config.find_first_of("/\\") != std::string::npos) return 0;

  plenwick_test::FreshMachine();
  mkdir("in", 0755);
  if (!WriteFile(kReport, report) || !WriteFile("job.cfg", config)) return 0;

  std::vector<std::string> arguments = OptionArguments(options);
  arguments.push_back(kReport);
  // One request, argument by argument, as the Java bridge makes it.
  plenwick::RunPrintRequest(static_cast<int>(arguments.size()),
                            [&arguments](int index, auto handle) {
                              const std::string& text = arguments[static_cast<size_t>(index)];
                              std::vector<char> argument(text.begin(), text.end());
                              argument.push_back('\0');
                              handle(argument.data());
                              return true;
                            });

  Check(simwin::OpenHandleCount() == 0);
  Check(simwin::LiveGlobalBlocks() <= 2);  // the printer selection's blocks
  std::vector<simwin::SpooledDocument> documents = simwin::Documents();
  Check(documents.size() == 1);
  Check(documents[0].end == simwin::SpooledDocument::kEnded);
  // Whether a line was read as UTF-8, and raw mode, depend on the options
  // the input gave: one of the readings must account for what was printed.
  std::string printed = PrintedText();
  bool asDecoded = false;
  for (bool raw : {false, true}) {
    asDecoded = asDecoded || PrintedAsDecoded(printed, DecodedText(report, false, raw)) ||
                PrintedAsDecoded(printed, DecodedText(report, true, raw));
  }
  Check(asDecoded);
  // Everything given back before the input ends: with the mallocs and frees
  // of one input balanced, libFuzzer reruns an input to hunt a leak only
  // when there is one, instead of after every input.
  plenwick::ResetDebugLogState();
  plenwick::ResetPrinterSelection();
  simwin::Reset();
  return 0;
}
