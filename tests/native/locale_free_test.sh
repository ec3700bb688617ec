#!/usr/bin/env bash
# No comparison, case fold, character class test or number parse in the
# sources follows the C library's locale: a Java virtual machine sets it
# from the environment, and under tr_TR "PRINT" is not "print" while under
# de_DE "8.5" would be 8. src/platform/ascii.h has what to use instead.
# The check passes on the sources as they are and fails, naming the file
# and line, on each kind of call planted in a copy of them.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

NAMES='str(n)?casecmp|_?str(n)?icmp|lstrcmpi[AW]?|Char(Upper|Lower)(Buff)?[AW]?|to(w)?(upper|lower)'
NAMES+='|is(w)?(alpha|digit|space|alnum|upper|lower|xdigit|punct|print|cntrl|graph|blank)'
NAMES+='|ato(i|l|ll|f)|strto(d|f|ld|l|ll|ul|ull|imax|umax)|sto(i|l|ll|ul|ull|f|d|ld)'
NAMES+='|(v)?(s|f)?scanf|strcoll|strxfrm'
# A call, or a function named to be called later (std::transform(..., ::tolower));
# the words in a comment ("as atoi reads it") are neither.
PATTERN="(^|[^A-Za-z0-9_])(std::)?($NAMES)[[:space:]]*\\(|::($NAMES)([^A-Za-z0-9_(]|\$)"

check() {  # FOLDER...: prints FILE:LINE: TEXT for every call found, fails when any is
  ! grep -rnE --include='*.h' --include='*.cpp' --include='*.c' --include='*.in' "$PATTERN" "$@"
}

# The sources, and the simulated Windows the tests run them on.
if ! output=$(check "$ROOT/src" "$ROOT/tests/simwin"); then
  echo "FAIL: the sources call functions that follow the locale:"
  echo "$output"
  failures=$((failures + 1))
fi

# name | file to plant in (under src/) | line to append | whether the check must fail
while IFS='|' read -r name file line fails; do
  rm -rf "$work/src"
  cp -r "$ROOT/src" "$work/src"
  echo "$line" >>"$work/src/$file"
  if output=$(check "$work/src"); then found=no; else found=yes; fi
  if [ "$found" != "$fails" ]; then
    echo "FAIL: $name: expected a finding: $fails, got: $found $output"
    failures=$((failures + 1))
  elif [ "$fails" = yes ] && ! grep -qF "src/$file:" <<<"$output"; then
    echo "FAIL: $name: the finding does not name src/$file: $output"
    failures=$((failures + 1))
  else
    echo "ok: $name"
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

[ "$failures" -eq 0 ]
