#!/usr/bin/env bash
# A print server across a network: a server of the test's own behind a
# loopback proxy that delays every byte 25 ms each way (a 50 ms round
# trip), reached over TCP as a central server is. The library prints
# through it and the PDF comes back whole. The server logs every request:
# a report costs the library no more IPP requests than lp, and each
# further report of the same request at most three (job, document and
# one look at the printer), on a PDF queue, on a raw queue and on the
# default printer; a user's lpoptions for a queue still count. A printer
# that goes away or stops taking jobs in the middle of a request is told
# at its next report as at the first.
source "$(dirname "$0")/lib.sh"
# print_logged and await_line: a request with its log, watched as it goes.
source "$ROOT/tests/support/unreadable_report_checks.sh"

# CUPS's own user runs the filters: the server lives in the build tree.
SERVER="$NATIVE/distant-server-$$"
PROXY_PID=""
work_folder
on_exit 'stop_print_server "$SERVER"; rm -rf "$SERVER"'
on_exit '[ -n "$PROXY_PID" ] && kill "$PROXY_PID" 2>/dev/null'
if ! start_print_server "$SERVER" "AccessLogLevel all"; then
  fail "the test's print server did not start"
  finish
fi
export CUPS_SERVER PDF_OUT="$SERVER/out"
CUPS_SERVER=$(print_server_socket "$SERVER")
own_queue pdf FAR-PDF
own_queue null FAR-RAW
own_queue pdf FAR-DEFAULT && lpadmin -d FAR-DEFAULT

read -r PROXY_PID PROXY_PORT < <(start_delay_proxy "$SERVER" 25)
if [ -z "${PROXY_PORT:-}" ]; then
  fail "the proxy did not start"
  finish
fi
CUPS_SERVER="127.0.0.1:$PROXY_PORT"

# The link delays: a question and its answer take a round trip, and a new
# connection one more.
started=$(date +%s%N)
lpstat -d >/dev/null
took=$((($(date +%s%N) - started) / 1000000))
check "a request through the proxy takes two round trips at least (${took} ms)" [ "$took" -ge 100 ]

# One report through the network, read back from its PDF: its two pages,
# every row once, in order.
{ numbered_lines 1 20 && printf '\f' && numbered_lines 21 40; } >"$TAG-far.txt"
print_request -printer_id=FAR-PDF "$TAG-far.txt"
check "the report arrived as one PDF" [ "${#PDFS[@]}" = 1 ]
check "its two pages" [ "$(pdf_pages "${PDFS[0]:-none}")" = 2 ]
check "page 2 begins with row 21" [ "$(first_row "${PDFS[0]:-none}" 2)" = 21 ]
check "every row once, in order" [ "$(row_numbers "${PDFS[0]:-none}" | tr '\n' ' ')" = "$(seq -s ' ' 1 40) " ]

# IPP requests of one command, counted in the server's access log.
requests_of() {  # command...
  local before
  before=$(access_log_length "$SERVER")
  "$@" >>requests.out 2>&1 || echo "  $* failed" >&2
  ipp_requests_since "$SERVER" "$before"
}
# A count of nothing means nothing was counted.
at_most() { [ "$1" -gt 0 ] && [ "$1" -le "$2" ]; }  # count bound
printf 'row 1 of a report\r\n\frow 2 on its second page\r\n' >"$TAG-count.txt"
reports=("$TAG-count.txt" "$TAG-count.txt" "$TAG-count.txt" "$TAG-count.txt" "$TAG-count.txt")
# case | the library's printer option | lp's
while IFS='|' read -r what library_option lp_option; do
  one=$(requests_of linux_print -interactive=none $library_option "$TAG-count.txt")
  five=$(requests_of linux_print -interactive=none $library_option "${reports[@]}")
  lp=$(requests_of lp $lp_option "$TAG-count.txt")
  echo "$what: one report $one requests, five reports $five, lp $lp"
  check "$what: one report asks no more than lp ($one against $lp)" at_most "$one" "$lp"
  check "$what: each further report asks at most 3 more ($five for five, $one for one)" \
    at_most "$((five - one))" $((4 * 3))
done <<'CASES'
PDF queue named|-printer_id=FAR-PDF|-d FAR-PDF
raw queue named|-printer_id=FAR-RAW|-d FAR-RAW
default printer||
CASES
wait_for_cups >/dev/null

# Options a user keeps for a queue in lpoptions still count where the
# queue is asked for by name: its paper there is the report's paper.
mkdir -p home/.cups
echo "Dest FAR-PDF media=na_letter_8.5x11in" >home/.cups/lpoptions
HOME="$WORK/home" print_request -printer_id=FAR-PDF "$TAG-far.txt"
check "lpoptions: the user's paper for the queue (Letter)" [ "$(page_size "${PDFS[0]:-none}")" = "612 x 792" ]

# A printer that goes away, or stops taking jobs, while the request
# prints its first report there (read slowly meanwhile): its next report
# gets the answer a request that began without it gets. A job cancelled
# while its document streams in is no printed report, though the server
# takes the rest of the document.
CUPS_SERVER=$(print_server_socket "$SERVER")
numbered_lines 1 8000 >"$TAG-slow.txt"
printf 'next\r\n' >"$TAG-next.txt"
PRINT_ENV=(LD_PRELOAD="$NATIVE/libdisk_faults.so" DISK_FAULTS_PATH="$TAG-slow.txt"
  DISK_FAULTS_READ_DELAY_MS=100)
# case | what the test does to the queue | what the user is told
while IFS='|' read -r what change told; do
  make_queue null FAR-GOING
  print_logged "$what.log" -printer_id=FAR-GOING "$TAG-slow.txt" "$TAG-next.txt" &
  host=$!
  if await_line "$what.log" "Printing $TAG-slow.txt (page 2)" 60; then
    $change FAR-GOING
  fi
  wait $host
  check "$what: the request returns" [ $? -eq 0 ]
  check "$what: told: $told" grep -qF "$told" "$what.log.out"
  cancel -a FAR-GOING 2>/dev/null
  remove_queue FAR-GOING
done <<'CASES'
taken away|lpadmin -x|Plenwick - Can't Open Printer: Invalid printer name.
not taking jobs|cupsreject|Destination "FAR-GOING" is not accepting jobs.
its job cancelled|cancel -a|EndDoc returned -1
CASES

finish
