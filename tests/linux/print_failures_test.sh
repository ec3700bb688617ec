#!/usr/bin/env bash
# What goes wrong on the way to CUPS: an unknown printer, a queue that
# rejects jobs, a paused queue, no print server. Each gives the documented
# answer on standard error, keeps a report that was not spooled under
# SCRATCH, and returns to Java.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/print_reports_checks.sh"

work_folder
QUEUE="plenwick-linux-$$"

# An unknown printer: the Windows box, answered Cancel without a user.
check_unknown_printer "$TAG"
check "the box is answered Cancel" grep -qx "Plenwick - Can't Open Printer: Invalid printer name.*\[Cancel\]" host.out

# A directory given as the report is no report: nothing is printed, and
# SCRATCH keeps it and its configuration file.
mkdir "$TAG-folder"
printf -- '-point=9\r\n' >"$TAG-folder.cfg"
linux_print -disposition=scratch -config="$TAG-folder.cfg" "$TAG-folder" >host.out 2>&1
check "a directory: the request returns" [ $? -eq 0 ]
check "a directory: its configuration file is kept" [ -e "$TAG-folder.cfg" ]

# Why a report did not print, and which options were not applied: one
# line each on standard error, where a server's log gets them; the request
# still returns and prints what it can.
printf 'told\r\n' >"$TAG-told.txt"
linux_print -frobnicate=3 -point=abc -printer_id=PDF "$TAG-missing.txt" "$TAG-told.txt" \
  >host.stdout 2>host.stderr
check "told: the request returns" [ $? -eq 0 ]
while IFS= read -r line; do
  check "told on standard error: $line" grep -qxF -- "$line" host.stderr
done <<TOLD
plenwick: option -frobnicate=3 not known, ignored
plenwick: -point=abc is not a number, the printer's default size is used
plenwick: $TAG-missing.txt not printed: no such file
TOLD
check "told: nothing of it on standard output" bash -c "! grep -q '^plenwick: ' host.stdout"

# A read-only report is printed, but SCRATCH cannot delete it, as on
# Windows.
printf 'read-only\r\n' >"$TAG-read-only.txt"
chmod 444 "$TAG-read-only.txt"
print_request -disposition=scratch "$TAG-read-only.txt"
check "read-only: printed" grep -q read-only <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
check "read-only: kept" [ -e "$TAG-read-only.txt" ]

# A queue of our own that rejects jobs: the spooler error box.
own_queue null "$QUEUE"
cupsreject "$QUEUE"
printf 'rejected\r\n' >"$TAG-rejected.txt"
print_request -disposition=scratch -printer_id="$QUEUE" "$TAG-rejected.txt"
check "StartDoc fails, with CUPS' reason" \
  grep -q "StartDoc returned -1 (Unknown general error). Destination \"$QUEUE\" is not accepting jobs." host.out
check "the rejected report is kept" [ -e "$TAG-rejected.txt" ]

# Paused: the job is spooled and waits in the queue, as on Windows, so the
# report counts as printed. The job is cancelled at once: other tests wait
# for the queues to empty.
cupsaccept "$QUEUE"
cupsdisable "$QUEUE"
printf 'paused\r\n' >"$TAG-paused.txt"
linux_print -disposition=scratch -printer_id="$QUEUE" "$TAG-paused.txt" >host.out 2>&1
status=$?
waiting=$(lpstat -o "$QUEUE" 2>/dev/null | wc -l)
cancel -a "$QUEUE"
check "paused: the request returns" [ $status -eq 0 ]
check "paused: the job waits in the queue" [ "$waiting" = 1 ]
check "paused: the spooled report is deleted" [ ! -e "$TAG-paused.txt" ]

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
