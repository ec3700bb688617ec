#!/usr/bin/env bash
# What goes wrong on the way to CUPS, through the Linux library: the
# scenario every host runs (tests/support/print_failures_checks.sh), then
# the print server's own reason for a rejected job, and no print server at
# all.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/print_failures_checks.sh"
work_folder

check_print_failures "$TAG"

# A queue that rejects jobs: the user is told the print server's own reason
# after the spooler's words, and the reason goes no further than the
# document it belongs to.
use_own_queue plenwick-rejects
cupsreject "$QUEUE"
# What CUPS itself says to a job sent there.
reason=$(echo probe | lp -d "$QUEUE" 2>&1 | sed -e 's/^lp: //')
check "CUPS refuses the job itself ($reason)" [ -n "$reason" ]
printf 'rejected\r\n' >"$TAG-rejected.txt"
printf 'printed\r\n' >"$TAG-printed.txt"
print_request -printer_id="$QUEUE" "$TAG-rejected.txt" -printer_id=PDF "$TAG-printed.txt"
box=$(grep -v '^plenwick: ' host.out | grep "StartDoc returned")
check "the box tells the spooler's result" grep -q "StartDoc returned -1 (Unknown general error)." <<<"$box"
check "and CUPS' own reason: $box" grep -qF "$reason" <<<"$box"
check "the line told names the report and the reason" \
  grep -qF "plenwick: $TAG-rejected.txt not printed: StartDoc returned -1 (Unknown general error). $reason" host.out

# No print server: the library talks to a socket nobody listens on, as
# when cupsd is stopped. No default printer, so no device mode.
printf 'no server\r\n' >"$TAG-noserver.txt"
CUPS_SERVER="$WORK/no-cupsd.sock" linux_print -disposition=scratch "$TAG-noserver.txt" >host.out 2>&1
check "no server: the request returns" [ $? -eq 0 ]
check "no server: the box says so" grep -q "Plenwick - Can't Get DEVMODE" host.out
check "no server: one line says there is no printer" \
  grep -qxF "plenwick: $TAG-noserver.txt not printed: no printer is installed or reachable" host.out
check "no server: the report is kept" [ -e "$TAG-noserver.txt" ]

finish
