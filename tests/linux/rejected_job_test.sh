#!/usr/bin/env bash
# A queue that rejects jobs: the user is told the print server's own reason
# after the spooler's words, the report is kept, and the reason goes no
# further than the document it belongs to.
source "$(dirname "$0")/lib.sh"

use_own_queue plenwick-rejects
cupsreject "$QUEUE"
# What CUPS itself says to a job sent there.
reason=$(echo probe | lp -d "$QUEUE" 2>&1 | sed -e 's/^lp: //')
check "CUPS refuses the job itself ($reason)" [ -n "$reason" ]

printf 'rejected\r\n' >"$TAG-rejected.txt"
printf 'printed\r\n' >"$TAG-printed.txt"
print_request -disposition=scratch -printer_id="$QUEUE" "$TAG-rejected.txt" \
  -printer_id=PDF "$TAG-printed.txt"
box=$(grep -v '^plenwick: ' host.out | grep "StartDoc returned")
check "the box tells the spooler's result" grep -q "StartDoc returned -1 (Unknown general error)." <<<"$box"
check "and CUPS' own reason: $box" grep -qF "$reason" <<<"$box"
check "one box only" [ "$(grep -c "StartDoc returned" <<<"$box")" = 1 ]
check "the line told names the report and the reason" \
  grep -qF "plenwick: $TAG-rejected.txt not printed: StartDoc returned -1 (Unknown general error). $reason" host.out
check "the rejected report is kept" [ -e "$TAG-rejected.txt" ]
check "nothing of it waits in the queue" [ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ]
check "the next report printed" grep -q printed <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
check "and was deleted" [ ! -e "$TAG-printed.txt" ]

finish
