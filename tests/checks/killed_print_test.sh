#!/usr/bin/env bash
# A print command killed in the middle of its job, the way a caller's
# timeout kills it (the command, not what it started), does not hold up the
# next one: the next print writes its PDF, and the print server and the
# printing program the killed command started have gone once the next has
# run.
#
#   killed_print_test.sh [--linux]   the 32-bit DLL under Wine unless told
set -uo pipefail
ROOT="${PLENWICK_ROOT:?}"
source "$ROOT/tests/support/kit.sh"
FIRST=""
work_folder
on_exit '[ -n "$FIRST" ] && kill -KILL "$FIRST" 2>/dev/null'
# The commands start what they need themselves, as from a terminal.
unset DISPLAY CUPS_SERVER PDF_OUT PRINT_SERVER_DIR PLENWICK_FIXTURES

# A report whose job takes the library some seconds to spool, and a short
# one. The long one's name is the test's own: the program that prints it is
# found by it.
long="$WORK/long-$(basename "$WORK").txt"
for i in $(seq 15000); do
  printf 'line %05d of a long report that keeps the print server busy for a while\r\n' "$i"
done >"$long"
printf 'a short report\r\n' >"$WORK/short.txt"

"$ROOT/scripts/print" "$@" "$long" >"$WORK/first.out" 2>"$WORK/first.err" &
FIRST=$!
# Killed while the program it started prints the report, on the print
# server the command names.
printing() {
  ps -eo pid=,args= | grep -F "long-$(basename "$WORK")" | grep -v -e 'scripts/print' -e grep
}
for _ in $(seq 1500); do
  kill -0 "$FIRST" 2>/dev/null || break
  printing >/dev/null && break
  sleep 0.2
done
sleep 2
socket=$(sed -n -E 's/^==> print server ([^ ]+) .*/\1/p' "$WORK/first.err" | tail -1)
server=""
[ -n "$socket" ] && server=$(ss -Hxlp src "$socket" 2>/dev/null | sed -n -E 's/.*pid=([0-9]+),.*/\1/p' | head -1)
program=$(printing | awk '{ print $1 }' | head -1)
kill -KILL "$FIRST"
wait "$FIRST" 2>/dev/null
FIRST=""
if ! check "the first print was killed while printing" test -n "$program"; then
  cat "$WORK/first.err" >&2
fi

start=$(date +%s)
timeout -k 5 180 "$ROOT/scripts/print" "$@" "$WORK/short.txt" >"$WORK/second.out" 2>"$WORK/second.err"
status=$?
took=$(($(date +%s) - start))
sed 's/^/  next print: /' "$WORK/second.out" "$WORK/second.err"
check "the next print succeeds (status $status after $took s)" test "$status" -eq 0
pdf=$(sed -n -E 's/^(.*\.pdf) \([0-9]+ pages\)$/\1/p' "$WORK/second.out" | head -1)
check "the next print names its PDF" test -n "$pdf"
check "and the PDF holds the short report" \
  bash -c 'pdftotext "$1" - 2>/dev/null | grep -q "a short report"' _ "$pdf"
if [ -n "$server" ]; then
  check "the killed command's print server ($server) has gone" bash -c "! kill -0 $server 2>/dev/null"
else
  fail "no print server found for the killed command"
fi
[ -n "$program" ] &&
  check "the program it was printing with ($program) has gone" bash -c "! kill -0 $program 2>/dev/null"
finish
