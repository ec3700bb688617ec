#!/usr/bin/env bash
# Spooler faults under Wine with the real DLL, each in one host process of
# two or three requests: the fault during the first request, the queue back
# for the next, which must print normally. The queue is this test's own;
# "PDF" and the default printer stay as they are. The case that stops the
# run's print server starts it again at once.
source "$(dirname "$0")/lib.sh"

QUEUE="PLENWICK_FAULT_$$"
work_folder
own_queue pdf "$QUEUE"
on_exit 'print_server_running "$PRINT_SERVER_DIR" || run_print_server "$PRINT_SERVER_DIR"'
print_via "$WINE_HOST"

# Starts the host in the background with REQUESTS requests of the report
# $1 (SCRATCH) on the queue, answering the box CAPTION=ANSWER if it comes.
start_host() {  # report requests answer [env...]
  local report=$1 requests=$2 answer=$3
  shift 3
  printf 'fault case %s\r\n' "$report" >"$report"
  rm -f between.*
  : >host.out
  env PLENWICK_DEBUG="$WORK/$report.log" PLENWICK_REPEAT="$requests" PLENWICK_BETWEEN="$(winepath -w "$WORK")\\between" \
    PLENWICK_ANSWER="$answer" "$@" "$ROOT/scripts/wine-run" "$WINBUILD/repeat_print.exe" \
    -point=10 -interactive=none -disposition=scratch "${HOST_ARGS[@]}" "$report" \
    >host.out 2>&1 &
  HOST=$!
}
# Waits until the host has made request $1, then lets it go on.
after_request() {
  wait_until 120 grep -q "request $1 done" host.out || fail "request $1 never ended: $(cat host.out)"
}
go_on() { touch "between.$1"; }
# Waits for the host; its output lines lose the carriage returns of the
# Windows console.
finish_host() {
  wait "$HOST" || echo "host exit status $?"
  tr -d '\r' <host.out >host.txt && mv host.txt host.out
  cat host.out
}
printed_text() { pdf_page_text "$(pdfs_on_queue "$1" "$QUEUE" "$2" | head -1)" 1 2>/dev/null; }

# Paused queue: the spooler takes the job and holds it; the document ended
# normally, so the report goes. Resumed, the job prints, and so does the
# next request.
HOST_ARGS=(-printer_id="$QUEUE")
cupsdisable "$QUEUE"
since=$(last_job_id)
start_host paused_$$.txt 2 "Error=ok"
after_request 1
held=$(lpstat -o "$QUEUE" 2>/dev/null | wc -l)
check "paused: the job waits in the queue ($held)" [ "$held" -ge 1 ]
check "paused: the report was spooled and deleted" [ ! -e paused_$$.txt ]
printf 'fault case paused_%s.txt\r\n' $$ >paused_$$.txt
cupsenable "$QUEUE"
go_on 1
finish_host
check "paused: no box" grep -q '^box Error: $' host.out
check "paused: the held job printed once resumed" \
  grep -q "fault case paused" <<<"$(printed_text "$since" paused_$$.txt)"
check "paused: two documents in all" [ "$(pdfs_on_queue "$since" "$QUEUE" paused_$$.txt | wc -l)" = 2 ]

# Refusing queue: EndDoc fails, the box says so, the report stays; accepted
# again, the next request prints it.
cupsreject "$QUEUE"
since=$(last_job_id)
start_host refused_$$.txt 2 "Error=ok"
after_request 1
check "refused: the report is kept" [ -e refused_$$.txt ]
cupsaccept "$QUEUE"
go_on 1
finish_host
check "refused: the log names the failed EndDoc" grep -q 'shown: Error: EndDoc returned' refused_$$.txt.log
check "refused: the next request prints" \
  grep -q "fault case refused" <<<"$(printed_text "$since" refused_$$.txt)"
check "refused: the report went after it printed" [ ! -e refused_$$.txt ]

# Queue deleted after the process chose it and printed on it: for the
# second request Wine still lists the printer it found when the process
# started, so it opens and the document is written, but EndDoc fails; the
# third prints on the queue made again.
since=$(last_job_id)
start_host deleted_$$.txt 3 "Error=ok"
after_request 1
# Deleting a queue cancels its unfinished jobs and forgets the others.
check "deleted: the first request printed" [ -n "$(pdfs_on_queue "$since" "$QUEUE" deleted_$$.txt)" ]
printf 'fault case deleted_%s.txt\r\n' $$ >deleted_$$.txt
lpadmin -x "$QUEUE"
go_on 1
after_request 2
check "deleted: the report is kept" [ -e deleted_$$.txt ]
make_queue pdf "$QUEUE"
since=$(last_job_id)
go_on 2
finish_host
check "deleted: the log names the failed EndDoc" grep -q 'shown: Error: EndDoc returned' deleted_$$.txt.log
check "deleted: the third request printed on the queue made again" \
  [ -n "$(pdfs_on_queue "$since" "$QUEUE" deleted_$$.txt)" ]

# The print server stopped while the second request prints, and started again a few
# seconds later, whatever that request is doing; the third request must
# print normally.
since=$(last_job_id)
start_host stopped_$$.txt 3 "Error=ok"
after_request 1
pdfs_on_queue "$since" "$QUEUE" none >/dev/null  # the first job done before cupsd goes
printf 'fault case stopped_%s.txt\r\n' $$ >stopped_$$.txt
stop_print_server "$PRINT_SERVER_DIR"
go_on 1
sleep 3
run_print_server "$PRINT_SERVER_DIR"
check "stopped: cupsd runs again" bash -c "lpstat -r | grep -q 'is running'"
after_request 2
if grep -q "Keeping stopped_$$.txt" "stopped_$$.txt.log" 2>/dev/null; then
  echo "stopped: the second request failed"
  check "stopped: the report is kept" [ -e stopped_$$.txt ]
  printf 'fault case stopped_%s.txt\r\n' $$ >stopped_$$.txt
else
  echo "stopped: the second request was spooled"
  printf 'fault case stopped_%s.txt\r\n' $$ >stopped_$$.txt
fi
go_on 2
finish_host
check "stopped: the third request printed" \
  [ "$(pdfs_on_queue "$since" "$QUEUE" stopped_$$.txt | wc -l)" -ge 2 ]
finish
