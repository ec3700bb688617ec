#include "options/option_parser.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/debug_log.h"
#include "core/fixed_text.h"
#include "core/regular_file.h"
#include "core/user_notice.h"
#include "options/option_table.h"
#include "platform/handles.h"

namespace plenwick {
namespace {

// The value of an option given without one. Each use gets a fresh copy, so
// an option list cutting it in place never changes what a later option gets.
const char kInvalidArgument[] = "INVALID ARGUMENT";

// Raises the request's nesting for one option and lowers it again on every
// way out, a failed allocation included: a level left raised would cut every
// later option of the request short.
class NestingLevel {
 public:
  explicit NestingLevel(OptionNesting& nesting) : nesting_(nesting) { ++nesting_.depth; }
  ~NestingLevel() { --nesting_.depth; }
  NestingLevel(const NestingLevel&) = delete;
  NestingLevel& operator=(const NestingLevel&) = delete;

 private:
  OptionNesting& nesting_;
};

// Ten to the power of exponent by repeated multiplication, exact up to
// 1e22 and alike on every C runtime.
double PowerOfTen(int exponent) {
  double power = 1.0;
  for (int i = 0; i < exponent; ++i) power *= 10.0;
  return power;
}

// The decimal number at the start of value: blanks, an optional sign,
// digits with an optional point, an optional exponent; 0.0 when none is
// there. Hexadecimal numbers, infinity and NaN are not numbers here,
// whatever the C runtime's strtod reads, and no locale changes the point:
// a paper size reads alike on every host.
double LeadingDecimal(const char* value) {
  const char* at = value;
  while (*at == ' ' || *at == '\t') ++at;
  bool negative = *at == '-';
  if (*at == '+' || *at == '-') ++at;
  double mantissa = 0.0;
  int exponent = 0;
  int digits = 0;
  for (; IsAsciiDigit(*at); ++at, ++digits) mantissa = mantissa * 10.0 + (*at - '0');
  if (*at == '.') {
    for (++at; IsAsciiDigit(*at); ++at, ++digits, --exponent)
      mantissa = mantissa * 10.0 + (*at - '0');
  }
  if (digits == 0) return 0.0;
  if (*at == 'e' || *at == 'E') {
    const char* power = at + 1;
    bool below = *power == '-';
    if (*power == '+' || *power == '-') ++power;
    int written = 0;
    // Far beyond any paper either way; the bound keeps the sum finite.
    for (; IsAsciiDigit(*power); ++power) written = std::min(written * 10 + (*power - '0'), 1000);
    if (IsAsciiDigit(power[-1])) exponent += below ? -written : written;
  }
  double magnitude =
      exponent < 0 ? mantissa / PowerOfTen(-exponent) : mantissa * PowerOfTen(exponent);
  return negative ? -magnitude : magnitude;
}

// The decimal integer at the start of a value, as atoi reads it, without
// its undefined overflow: out-of-range values stop at the int32 limits.
int32_t LeadingInteger(const char* value) {
  int64_t number = LeadingInt64(value);
  if (number > INT32_MAX) return INT32_MAX;
  if (number < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(number);
}

// Reads value's number into a field of the job that goes on into a 16-bit
// field of the device mode or font. A number that cannot be held there is
// refused with a log line and the field keeps what it held: cut to 16
// bits, 65545 points would print at 9 and 70000 at 4464.
template <typename Field>
void ReadShortNumber(const char* option, const char* value, int64_t number, Field& field) {
  if (number < INT16_MIN || number > INT16_MAX) {
    DebugLog("%s=%s: not a number from %d to %d, %s stays %d\n", option, value, INT16_MIN,
             INT16_MAX, option, static_cast<int>(field));
    return;
  }
  field = static_cast<Field>(number);
}

// Splits off the value: after the first '=', blanks skipped, surrounding
// quotes dropped. Writes the missing-value literal into fallback when the
// option has no '='.
char* FindValue(char* text, char (&fallback)[sizeof(kInvalidArgument)], bool* given) {
  char* equals = strchr(text, '=');
  *given = equals != nullptr;
  if (!equals) {
    memcpy(fallback, kInvalidArgument, sizeof(kInvalidArgument));
    return fallback;
  }
  char* value = equals + 1;
  while (*value == ' ') ++value;
  if (*value == '"') {
    ++value;
    size_t length = strlen(value);
    if (length > 0) value[length - 1] = '\0';  // the closing quote, whatever it is
  }
  return value;
}

// The file's contents as they are when it is opened, and which file that
// was. Reading a snapshot means that a configuration file which is also
// the log file (the log grows with every line parsed) still ends. Only a
// regular file is read, and one that fails to read is ignored whole rather
// than applied in part.
bool ReadSnapshot(const char* path, std::string& contents, FileIdentity& identity) {
  UniqueFile file = OpenRegularFile(path);
  if (!file) {
    DebugLog("config %s: cannot be read, error %d\n", path, static_cast<int>(GetLastError()));
    return false;
  }
  identity = IdentityOf(file.get());
  char chunk[4096];
  for (;;) {
    UINT got = _lread(file.get(), chunk, sizeof chunk);
    if (got == 0) break;
    if (got > sizeof chunk) {  // HFILE_ERROR
      DebugLog("config %s: reading failed, error %d: ignoring it\n", path,
               static_cast<int>(GetLastError()));
      return false;
    }
    if (contents.size() + got > kMaxConfigFileBytes) {
      DebugLog("config %s: only the first %d bytes are read\n", path, kMaxConfigFileBytes);
      contents.append(chunk, kMaxConfigFileBytes - contents.size());
      break;
    }
    contents.append(chunk, got);
  }
  return true;
}

// The next read of at most kConfigLineCapacity bytes, up to and including a
// line feed, as reading the file line by line would give it.
size_t NextRead(const std::string& contents, size_t at, char (&line)[kConfigLineCapacity + 1]) {
  size_t length = 0;
  while (at + length < contents.size() && length < kConfigLineCapacity) {
    char c = contents[at + length];
    line[length++] = c;
    if (c == '\n') break;
  }
  line[length] = '\0';
  return length;
}

void ParseConfigFile(PrintJob& job, OptionNesting& nesting, const char* path) {
  if (++nesting.configReads > kMaxConfigFileReads) {
    DebugLog("config %s: more than %d configuration files read for one argument, ignoring it\n",
             path, kMaxConfigFileReads);
    return;
  }
  if (nesting.configBytes >= static_cast<size_t>(kMaxConfigBytesRead)) {
    DebugLog(
        "config %s: %d bytes of configuration files already read for one argument, ignoring it\n",
        path, kMaxConfigBytesRead);
    return;
  }
  job.configFileName = path;
  job.configFile = FileIdentity();
  std::string contents;
  if (!ReadSnapshot(path, contents, job.configFile)) return;
  nesting.configBytes += contents.size();
  char line[kConfigLineCapacity + 1];
  size_t at = 0;
  while (size_t consumed = NextRead(contents, at, line)) {
    at += consumed;
    size_t length = strlen(line);  // a NUL byte in the file ends the line's text
    if (length > 0 && line[length - 1] == '\n') line[--length] = '\0';
    // Text mode drops the carriage return of a CR LF line end on Windows;
    // do the same everywhere so a file reads alike on every host.
    if (length > 0 && line[length - 1] == '\r') line[--length] = '\0';
    if (length == 0) continue;
    Parse_Arg(job, nesting, line + 1);  // without the '-' or '/' of the option
  }
}

void ParseOptionList(PrintJob& job, OptionNesting& nesting, char* list) {
  bool inQuote = false;
  char* at = list;
  while (true) {
    while (*at == ' ') ++at;
    if (*at == '\0') return;
    char* item = at;
    for (; *at != '\0'; ++at) {
      if (*at == '"') inQuote = !inQuote;
      if (*at == ' ' && !inQuote) break;
    }
    if (*at == ' ') *at++ = '\0';
    Parse_Arg(job, nesting, item + 1);  // without the item's '-' or '/'
  }
}

// True when value starts with a number (blanks, a sign, then a digit, or a
// point and a digit) as the number readers take it.
bool StartsWithNumber(const char* value) {
  while (*value == ' ' || *value == '\t') ++value;
  if (*value == '+' || *value == '-') ++value;
  if (*value == '.') ++value;
  return IsAsciiDigit(*value);
}

// Tells the user that a size option's value is no number, and what is
// used instead; the option still applies (its field gets 0) as before.
void TellNotANumber(const char* option, const char* value, bool given, const char* instead) {
  if (StartsWithNumber(value)) return;
  if (given) {
    TellUser("-%s=%s is not a number, %s", option, value, instead);
  } else {
    TellUser("-%s has no value, %s", option, instead);
  }
}

void ApplySource(PrintJob& job, const char* value) {
  for (const PaperSource& source : PaperSourceTable) {
    if (EqualsIgnoreCase(value, source.name)) {
      job.paperSource = source.bin;
      break;
    }
  }
  if (job.paperSource == 0) ReadShortNumber("source", value, LeadingInt64(value), job.paperSource);
}

// Tab stops from 1 to kMaxTabStop columns apart; any other value leaves
// them where they were.
void ApplyTabs(PrintJob& job, const char* value, bool given) {
  const int kMaxTabStop = 100;
  int64_t number = LeadingInt64(value);
  if (!StartsWithNumber(value) || number < 1 || number > kMaxTabStop) {
    TellUser(given ? "-tabs=%s is not a number from 1 to %d, tabs stay %d columns apart"
                   : "-tabs%s has no value (1 to %d), tabs stay %d columns apart",
             given ? value : "", kMaxTabStop, static_cast<int>(job.tabStop));
    return;
  }
  job.tabStop = static_cast<int16_t>(number);
}

void ApplyOption(PrintJob& job, OptionNesting& nesting, int32_t code, char* value, bool given) {
  switch (code) {
    case kOptConfig:
      ParseConfigFile(job, nesting, value);
      break;
    case kOptDisposition:
      job.scratch = EqualsIgnoreCase(value, "scratch");
      break;
    case kOptCopies:
      job.copies = LeadingInteger(value);
      break;
    case kOptPrinterId:
      CopyText(job.printerName, value);
      break;
    case kOptFormId:
      CopyText(job.formName, value);
      break;
    case kOptPrinterCtl:
    case kOptFormCtl:
      ParseOptionList(job, nesting, value);
      break;
    case kOptOrientation:
      job.orientation = EqualsIgnoreCase(value, "Landscape") ? 2 : 1;
      break;
    case kOptCollate:
      // Without a value the literal stands in, and it means "on".
      job.collate = strcmp(value, kInvalidArgument) == 0 || EqualsIgnoreCase(value, "true");
      break;
    case kOptPitch:
    case kOptPoint:
      TellNotANumber(code == kOptPitch ? "pitch" : "point", value, given,
                     "the printer's default size is used");
      ReadShortNumber(code == kOptPitch ? "pitch" : "point", value, LeadingInt64(value),
                      job.pointSize);
      break;
    case kOptFont:
      CopyText(job.fontFace, value);
      break;
    case kOptRuler:
      job.ruler = true;
      break;
    case kOptWidth:
      TellNotANumber("width", value, given, "the paper's own width is used");
      ReadShortNumber("width", value, PaperDimension(value), job.paperWidth);
      break;
    case kOptLength:
      TellNotANumber("length", value, given, "the paper's own length is used");
      ReadShortNumber("length", value, PaperDimension(value), job.paperLength);
      break;
    case kOptInteractive:
      if (EqualsIgnoreCase(value, "none")) job.noWindows = true;
      break;
    case kOptSource:
      ApplySource(job, value);
      break;
    case kOptLog:
      RedirectDebugLog(value);
      break;
    case kOptOem:
      job.oemTranslation = true;
      break;
    case kOptAnsi:
      job.ansiTranslation = true;
      break;
    case kOptRaw:
      job.raw = true;
      break;
    case kOptOutput:
      job.output = given ? value : "";
      break;
    case kOptTabs:
      ApplyTabs(job, value, given);
      break;
    default:  // accepted for compatibility, no effect on Windows
      break;
  }
}

}  // namespace

int32_t PaperDimension(const char* value) {
  double factor = 254.0;
  if (strpbrk(value, "mM")) {
    factor = 10.0;
  } else if (strpbrk(value, "iI")) {
    factor = 254.0;
  }
  double tenths = LeadingDecimal(value) * factor;
  // Values beyond any paper (or not numbers at all) must not reach an
  // undefined conversion; they stop at the int32 limits.
  if (std::isnan(tenths)) return 0;
  if (tenths >= 2147483647.0) return INT32_MAX;
  if (tenths <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(tenths);
}

void Parse_Arg(PrintJob& job, OptionNesting& nesting, char* text) {
  if (nesting.depth == 0) {  // each argument of the request starts afresh
    nesting.configReads = 0;
    nesting.configBytes = 0;
  }
  DebugLog("Parse_Arg(%s)\n", text);
  const OptionEntry* option = FindOption(text);
  if (!option) {
    if (*text != '\0') TellUser("option -%s not known, ignored", text);
    return;
  }
  bool given = false;
  char fallback[sizeof(kInvalidArgument)];
  char* value = FindValue(text, fallback, &given);
  if (given) DebugLog("Parse_Arg() val=[%s]\n", value);
  if (nesting.depth >= kMaxOptionNesting) {
    DebugLog("Parse_Arg: options nested more than %d deep, ignoring %s\n", kMaxOptionNesting, text);
    return;
  }
  NestingLevel level(nesting);
  ApplyOption(job, nesting, option->code, value, given);
}

void Parse_Arg(PrintJob& job, char* text) {
  OptionNesting nesting;
  Parse_Arg(job, nesting, text);
}

}  // namespace plenwick
