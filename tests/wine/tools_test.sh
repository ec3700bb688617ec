#!/usr/bin/env bash
# The programs and commands a user runs answer for themselves: the console
# host's --help, the print command's usage, and every script parses.
source "$(dirname "$0")/lib.sh"

for script in "$ROOT"/scripts/print "$ROOT"/scripts/test "$ROOT"/scripts/wine-run "$ROOT"/scripts/lib/*.sh; do
  check "$(basename "$script") parses" bash -n "$script"
done

help=$(cd "$WINBUILD" && wine_run ./plenwick_print.exe --help 2>&1)
check "plenwick_print --help succeeds" test $? -eq 0
check "plenwick_print --help gives the usage" grep -q '^Usage: plenwick_print \[OPTIONS\] REPORT' <<<"$help"

usage=$("$ROOT/scripts/print" 2>&1)
check "scripts/print without arguments exits 2" test $? -eq 2
check "scripts/print without arguments gives its usage" grep -q 'REPORT' <<<"$usage"
finish
