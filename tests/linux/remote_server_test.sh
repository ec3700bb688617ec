#!/usr/bin/env bash
# Printing to another print server through the Linux library: the scenario
# every host runs (tests/support/remote_server_checks.sh), then the central
# server going away in the middle of a job, and a queue that wants a
# password: each gives a clear answer, the request returns, the report is
# kept, and nothing waits for a password on the terminal.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/remote_server_checks.sh"
work_folder

check_remote_server "$TAG"
[ -n "${REMOTE:-}" ] || finish

# A queue that wants a password, asked from a terminal (the request runs on
# a pseudo-terminal of its own): no question there, a line that names the
# reason, the refused job's report kept.
printf 'secure\r\n' >"$TAG-secure.txt"
CUPS_SERVER="$REMOTE" timeout 60 script -qec \
  "$(printf '%q ' "${HOST_PRINT[@]}") -disposition=scratch -printer_id=SECURE $TAG-secure.txt" \
  /dev/null </dev/null >host.out 2>&1
status=$?
tr -d '\r' <host.out >host.txt
cat host.txt
check "password: the request returns at once (status $status)" [ $status -eq 0 ]
check "password: nobody is asked on the terminal" bash -c "! grep -q -i '^password for' host.txt"
check "password: the reason is named" grep -q "$REMOTE asks for a password" host.txt
check "password: the print fails" grep -q "StartDoc returned -1" host.txt
check "password: the report is kept" [ -e "$TAG-secure.txt" ]
check "password: no job was made" bash -c "! CUPS_SERVER=$REMOTE lpstat -W all -o SECURE | grep -q ."

# The central server goes away while a long report is on its way: the
# request returns, says so, and keeps the report.
for ((page = 1; page <= 3000; page++)); do
  for ((row = 1; row <= 60; row++)); do printf 'page %d row %d of a long report\r\n' $page $row; done
  printf '\f'
done >"$TAG-gone.txt"
CUPS_SERVER="$REMOTE" linux_print -disposition=scratch -printer_id=CENTRAL "$TAG-gone.txt" >host.out 2>&1 &
host=$!
sending_or_ended() { central lpstat -o CENTRAL 2>/dev/null | grep -q . || ! kill -0 $host 2>/dev/null; }
wait_until 30 sending_or_ended
check "gone: the job was being sent when the server went" kill -0 $host
stop_print_server "$CENTRAL_DIR"
wait $host
status=$?
cat host.out
check "gone: the request returns (status $status)" [ $status -eq 0 ]
check "gone: the user is told" grep -q -E '(EndPage|EndDoc) returned' host.out
check "gone: the report is kept" [ -e "$TAG-gone.txt" ]

finish
