#!/usr/bin/env bash
# The real DLL under Wine printing to another print server, as to a central
# CUPS server: a second server of the test's own on another loopback port.
# Wine's printing reads the printers of the server CUPS_SERVER names, and
# reaches the central server's queues that way and through a queue of the
# run's server that forwards to it. A queue that wants a password: Wine's
# printing has no way to answer without asking; what it does is recorded
# here.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/central_server.sh"

# CUPS's own user must reach the server's folder: the build tree.
CENTRAL="$WINBUILD/central-server-$$"
FORWARD="plenwick-forward-$$"
work_folder
# Wine keeps the printers it last found in the prefix: a program started
# on the run's server again finds that server's printers.
on_exit 'wine_run "$WINBUILD/plenwick_print.exe" -printer_id=none-such none-such.txt >/dev/null 2>&1'
on_exit 'stop_print_server "$CENTRAL"; rm -rf "$CENTRAL"'
print_via "$WINE_HOST"

if ! start_central_server "$CENTRAL"; then
  fail "the central print server did not start"
  finish
fi

for ((page = 1; page <= 12; page++)); do
  for ((row = 1; row <= 20; row++)); do printf 'page %d row %d\r\n' $page $row; done
  printf '\f'
done >central_$$.txt
cp central_$$.txt forward_$$.txt

arrives() {  # what report since
  local found pdf
  found=$(central_pdf "$3" "$2")
  pdf=${found% *}
  check "$1: the document arrived" [ -n "$found" ]
  [ -n "$found" ] || return
  check "$1: all 12 pages" [ "$(pdf_pages "$pdf")" = 12 ]
  check "$1: the last page is page 12" grep -q 'page 12 row 20' <<<"$(pdf_page_text "$pdf" 12)"
  check "$1: the job is named after the report" \
    bash -c "CUPS_SERVER=$REMOTE lpstat -W completed -o CENTRAL | grep -q '^CENTRAL-${found##* } '"
}

# Through CUPS_SERVER: Wine lists the central server's printers.
since=$(central last_job_id)
CUPS_SERVER="$REMOTE" wine_run "$WINBUILD/plenwick_print.exe" -printer_id=CENTRAL central_$$.txt \
  >host.out 2>&1
check "CUPS_SERVER: the host returns" [ $? -eq 0 ]
arrives "CUPS_SERVER" central_$$.txt "$since"

# Through a queue of the run's server that forwards to the central one,
# passing the document on as it came ("raw").
own_queue null "$FORWARD" "ipp://$REMOTE/printers/CENTRAL" -m raw
since=$(central last_job_id)
wine_run "$WINBUILD/plenwick_print.exe" -printer_id="$FORWARD" forward_$$.txt >host.out 2>&1
check "forwarded: the host returns" [ $? -eq 0 ]
wait_for_cups "$FORWARD" >/dev/null
arrives "forwarded" forward_$$.txt "$since"

# The queue that wants a password. Wine's printing hands the finished
# document to libcups with libcups' own password callback, which asks on
# the process's terminal and, without one, on standard input: the host
# does not return (the password question stays unanswered). It is stopped
# after a while; what matters here is that nothing printed without a
# password. The Linux library answers the question itself (see the Linux
# test of the same name).
printf 'secure\r\n' >secure_$$.txt
CUPS_SERVER="$REMOTE" timeout 20 setsid -w "$ROOT/scripts/wine-run" "$WINBUILD/plenwick_print.exe" \
  -interactive=none -printer_id=SECURE secure_$$.txt </dev/null >host.out 2>&1
status=$?
echo "Wine and a queue that wants a password: status $status (124: still waiting after 20 s)"
cat host.out
check "password: no job was printed" \
  bash -c "! CUPS_SERVER=$REMOTE lpstat -W completed -o SECURE | grep -q ."
finish
