#!/usr/bin/env bash
# No comparison, case fold, character class test or number parse in the
# sources follows the C library's locale: a Java virtual machine sets it
# from the environment, and under tr_TR "PRINT" is not "print" while under
# de_DE "8.5" would be 8. src/platform/ascii.h has what to use instead.
# The check passes on the sources as they are and fails, naming the file
# and line, on each kind of call planted in a copy of them.
PLENWICK_ROOT=${PLENWICK_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)}
source "$PLENWICK_ROOT/tests/support/kit.sh"
work_folder

NAMES='str(n)?casecmp|_?str(n)?icmp|lstrcmpi[AW]?|Char(Upper|Lower)(Buff)?[AW]?|to(w)?(upper|lower)'
NAMES+='|is(w)?(alpha|digit|space|alnum|upper|lower|xdigit|punct|print|cntrl|graph|blank)'
NAMES+='|ato(i|l|ll|f)|strto(d|f|ld|l|ll|ul|ull|imax|umax)|sto(i|l|ll|ul|ull|f|d|ld)'
NAMES+='|(v)?(s|f)?scanf|strcoll|strxfrm'
# A call, or a function named to be called later (std::transform(..., ::tolower));
# the words in a comment ("as atoi reads it") are neither.
PATTERN="(^|[^A-Za-z0-9_])(std::)?($NAMES)[[:space:]]*\\(|::($NAMES)([^A-Za-z0-9_(]|\$)"

locale_free() {  # FOLDER...: prints FILE:LINE: TEXT for every call found, fails when any is
  ! grep -rnE --include='*.h' --include='*.cpp' --include='*.c' --include='*.in' "$PATTERN" "$@"
}

# The sources, and the simulated Windows the tests run them on.
check "the sources call no function that follows the locale" \
  locale_free "$PLENWICK_ROOT/src" "$PLENWICK_ROOT/tests/simwin"

# name | file to plant in (in a copy of src/) | line to append | whether the check must fail
while IFS='|' read -r name file line fails; do
  plant "src/$file" "$line" "$PLENWICK_ROOT/src"
  if [ "$fails" = yes ]; then
    expect_fault "$name" "src/$file:" locale_free "$WORK/planted/src"
  else
    check "$name" locale_free "$WORK/planted/src"
  fi
done <<'CASES'
a case-insensitive verb|platform/linux/shell.cpp|  if (strcasecmp(verb, "print") == 0) return 1;|yes
a fold through std|options/option_parser.cpp|char c = std::tolower(value[0]);|yes
a fold handed to an algorithm|render/line_reader.cpp|std::transform(b, e, b, ::toupper);|yes
a class test|core/debug_log.cpp|if (isdigit(c)) {}|yes
a number read with atoi|platform/linux/user.cpp|int answer = atoi(text);|yes
a decimal read with strtod|device/job_device.cpp|double d = strtod (text, nullptr);|yes
a message read with sscanf|platform/linux/dialogs.cpp|sscanf(text, "%d", &n);|yes
the dialog program is checked too|dialog_program/main.cpp|long v = std::strtol(t, &e, 10);|yes
a comment naming a call|options/option_parser.cpp|// read as atoi reads it, without strtol's locale|no
a name that only ends alike|core/fixed_text.h|inline bool IsAsciiDigit(char c);|no
a locale-free helper|render/overstrike.cpp|bool b = EqualsIgnoreCase(a, "x") && IsAsciiSpace(c);|no
CASES

finish
