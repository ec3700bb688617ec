# What goes wrong on the way to the printer, whichever library prints
# (tests/linux and tests/wine print_failures_test.sh): an unknown printer,
# a report that is a folder, a missing report and options that are not
# applied, a read-only report, a queue that rejects jobs, a paused queue.
# Each gives the documented answer, keeps a report that was not spooled
# under SCRATCH, and returns to the caller. Sourced by a shell test
# standing in its work folder, with the kit and a host. A box is answered
# through PLENWICK_ANSWER where the host shows it (a Linux library without
# a display tells it in a line and takes its default answer).

# Runs one request (20 s at most); WINDOW_SEEN names any window shown.
request_unseen() {  # arguments...
  WINDOW_SEEN=""; timeout 20 "${HOST_PRINT[@]}" "$@" >host.out 2>&1 &
  while kill -0 $! 2>/dev/null && [ -z "$WINDOW_SEEN" ]; do
    sleep 0.2 && WINDOW_SEEN=$(xdotool search --onlyvisible --name . getwindowname 2>/dev/null)
  done; wait $!
}

check_print_failures() {  # tag
  local tag=$1 queue="plenwick-fail-$$" line status waiting

  # An unknown printer: the Windows box, answered Cancel; one line names
  # the report and the printer; the next file of the request prints on the
  # printer it names.
  printf 'kept\r\n' >"$tag-kept.txt"
  printf 'next\r\n' >"$tag-next.txt"
  PLENWICK_ANSWER="Plenwick - Can't Open Printer=cancel" print_request -disposition=scratch \
    -printer_id=Nowhere "$tag-kept.txt" -printer_id=PDF "$tag-next.txt"
  check "unknown printer: the box says why" \
    grep -q "Plenwick - Can't Open Printer: Invalid printer name." host.out
  [ "$PRINT_HOST" != jvm ] || check "unknown printer: the box is answered Cancel" \
    grep -qx "Plenwick - Can't Open Printer: Invalid printer name.*\[Cancel\]" host.out
  check "unknown printer: one line names the report and the printer" grep -qxF \
    "plenwick: $tag-kept.txt not printed: printer Nowhere cannot be opened (Invalid printer name.)" \
    <(told host.out)
  [ "$PRINT_HOST" = jvm ] ||
    check "unknown printer: the console printer exits 1" [ "$PRINT_STATUS" = 1 ]
  check "unknown printer: the report is kept" [ -e "$tag-kept.txt" ]
  check "unknown printer: only the next report printed" [ "${#PDFS[@]}" = 1 ]
  check "unknown printer: the next report printed" \
    grep -q next <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
  check "unknown printer: and was deleted" [ ! -e "$tag-next.txt" ]

  # A folder given as the report is no report: nothing is printed, and
  # SCRATCH keeps it and its configuration file.
  mkdir "$tag-folder"
  printf -- '-point=9\r\n' >"$tag-folder.cfg"
  print_request -disposition=scratch -config="$tag-folder.cfg" "$tag-folder"
  check "a folder: its configuration file is kept" [ -e "$tag-folder.cfg" ]
  check "a folder: nothing printed" [ "${#PDFS[@]}" -eq 0 ]

  # Why a report did not print, and which options were not applied: one
  # line each, apart from standard output (standard error on Linux, where
  # a server's log gets them; the debug output under Wine); the request
  # still returns and prints what it can.
  printf 'told\r\n' >"$tag-told.txt"
  "${HOST_PRINT[@]}" -frobnicate=3 -point=abc -printer_id=PDF "$tag-missing.txt" "$tag-told.txt" \
    >host.stdout 2>host.stderr
  check "told: the request returns" request_returned $? host.stderr
  while IFS= read -r line; do
    check "told: $line" grep -qxF -- "$line" <(told host.stderr)
  done <<TOLD
plenwick: option -frobnicate=3 not known, ignored
plenwick: -point=abc is not a number, the printer's default size is used
plenwick: $tag-missing.txt not printed: no such file
TOLD
  check "told: nothing of it on standard output" bash -c "! grep -q 'plenwick: ' host.stdout"

  # A read-only report is printed, but SCRATCH cannot delete it, as on
  # Windows.
  printf 'read-only\r\n' >"$tag-read-only.txt"
  chmod 444 "$tag-read-only.txt"
  print_request -disposition=scratch "$tag-read-only.txt"
  check "read-only: printed" grep -q read-only <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
  check "read-only: kept" [ -e "$tag-read-only.txt" ]
  check "read-only: told" grep -q "^plenwick: $tag-read-only.txt printed but not deleted: ." host.out

  # A queue of the test's own that rejects jobs: the spooler's error box,
  # the report kept, nothing of it left in the queue, and the next report
  # of the request prints.
  own_queue pdf "$queue"
  cupsreject "$queue"
  printf 'rejected\r\n' >"$tag-rejected.txt"
  printf 'printed\r\n' >"$tag-printed.txt"
  PLENWICK_ANSWER="Error=ok" print_request -disposition=scratch -printer_id="$queue" "$tag-rejected.txt" \
    -printer_id=PDF "$tag-printed.txt"
  check "rejected: one box names the failed call" \
    [ "$(grep -v '^plenwick: ' host.out | grep -c -E '(StartDoc|EndDoc) returned')" = 1 ]
  check "rejected: the report is kept" [ -e "$tag-rejected.txt" ]
  check "rejected: nothing of it waits in the queue" [ -z "$(lpstat -o "$queue" 2>/dev/null)" ]
  check "rejected: the next report printed" grep -q printed <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
  check "rejected: and was deleted" [ ! -e "$tag-printed.txt" ]

  # -interactive=none: no window whatever fails; the cause told, the report kept.
  local name server printer cause
  while IFS='|' read -r name server printer cause; do
    printf 'unseen\r\n' >"$tag-unseen.txt"
    CUPS_SERVER=${server:-$CUPS_SERVER} request_unseen -interactive=none -disposition=scratch \
      -printer_id="$printer" "$tag-unseen.txt"
    check "no windows, $name: none shows $WINDOW_SEEN" [ -z "$WINDOW_SEEN" ]
    check "no windows, $name: the cause is told" grep -qE "^plenwick: ($cause)" <(told host.out)
    check "no windows, $name: the report is kept" [ -e "$tag-unseen.txt" ]
  done <<CASES
unknown printer||Nowhere|Plenwick - Can't Open Printer: Invalid printer name\.
refused document||$queue|(Error: )?(StartDoc|EndDoc) returned
no printer at all|$PWD/no-server.sock|PDF|$tag-unseen.txt not printed
CASES

  # Paused: the job is spooled and waits in the queue, as on Windows, so
  # the report counts as printed. The job is cancelled at once: other
  # tests wait for the queues to empty.
  cupsaccept "$queue"
  cupsdisable "$queue"
  printf 'paused\r\n' >"$tag-paused.txt"
  "${HOST_PRINT[@]}" -disposition=scratch -printer_id="$queue" "$tag-paused.txt" >host.out 2>&1
  status=$?
  waiting=$(lpstat -o "$queue" 2>/dev/null | wc -l)
  cancel -a "$queue"
  check "paused: the request returns" [ $status -eq 0 ]
  check "paused: the job waits in the queue" [ "$waiting" = 1 ]
  check "paused: the spooled report is deleted" [ ! -e "$tag-paused.txt" ]
}
