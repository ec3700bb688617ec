#!/usr/bin/env bash
# What goes wrong on the way to CUPS, through the Linux library: the
# scenario every host runs (tests/support/print_failures_checks.sh), then
# the print server's own reason for a rejected job (no print server at all
# is printer_outage_test.sh).
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

finish
