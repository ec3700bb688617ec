#!/usr/bin/env bash
# A print server that stops answering in the middle of a job: the request
# still returns to Java, the user is told that the page failed, and a
# report under SCRATCH is kept, since nobody confirmed its document. Then a
# server that goes away in the middle of a job, under a host without a
# virtual machine (one that has left SIGPIPE as it found it).
#
# The server is a cupsd of this test's own, on a socket in its work folder,
# so that stopping it holds up no other print on the machine.
source "$(dirname "$0")/lib.sh"

source "$ROOT/scripts/lib/print_server.sh"

SERVER_PID=""
work_folder
# A stopped server is woken before it is ended, whatever way the test ends.
on_exit '[ -n "$SERVER_PID" ] && kill -CONT "$SERVER_PID" 2>/dev/null && stop_print_server "$WORK/server"'

# Started the way the run's own server is: the test goes on only once the
# scheduler answers on its socket.
chmod 755 "$WORK"
check "the test's own print server runs" start_print_server "$WORK/server"
SERVER_PID=$(print_server_pid "$WORK/server")
export CUPS_SERVER
CUPS_SERVER=$(print_server_socket "$WORK/server")
QUEUE="hung-$$"
lpadmin -p "$QUEUE" -E -v file:/dev/null && lpadmin -d "$QUEUE"

# The highest job id on the queue so far (0 when there is none).
last_job() {
  lpstat -W all -o "$QUEUE" 2>/dev/null | sed -E -n 's/^[^ ]+-([0-9]+) .*/\1/p' | sort -n | tail -1 |
    grep . || echo 0
}
# Waits until the job after job id $1 is on the server: its document is on
# its way.
wait_for_job_after() {
  for _ in $(seq 400); do
    [ "$(last_job)" -gt "$1" ] && return 0
    sleep 0.05
  done
  return 1
}

# The server works: a report prints and SCRATCH deletes it.
printf 'fine\r\n' >"$TAG-fine.txt"
linux_print -disposition=scratch "$TAG-fine.txt" >host.out 2>&1
check "a working server prints and the report goes" [ ! -e "$TAG-fine.txt" ]
wait_for_cups "$QUEUE"

# A report of many pages, so that the server is stopped while the PDF is
# still streaming into the job.
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "row %06d of a long report that keeps the server busy\r\n", i }' \
  >"$TAG-long.txt"
since=$(last_job)
started=$SECONDS
timeout 240 java -Xcheck:jni -Djava.library.path="$NATIVE" -cp "$NATIVE/java" PlenwickPrint \
  -disposition=scratch "$TAG-long.txt" >host.out 2>&1 &
java_pid=$!
wait_for_job_after "$since"
kill -STOP "$SERVER_PID"
wait "$java_pid"
status=$?
elapsed=$((SECONDS - started))
kill -CONT "$SERVER_PID"
echo "the request took ${elapsed}s with the server stopped"
check "the request returns to Java (status $status)" [ "$status" -eq 0 ]
check "the user is told that the page failed" grep -q "EndPage returned -1" host.out
check "the report is kept" [ -s "$TAG-long.txt" ]
sed -n '1,5p' host.out

# Wait for the server to drop what it was given, then print again from a
# plain program and end the server in the middle of the job.
wait_for_cups "$QUEUE"
cp "$TAG-long.txt" "$TAG-gone.txt"
since=$(last_job)
timeout 120 "$NATIVE/print_host" "$NATIVE/libPLENWICKDLL.so" -disposition=scratch "$TAG-gone.txt" \
  >host.out 2>&1 &
host_pid=$!
wait_for_job_after "$since"
kill -KILL "$SERVER_PID"
for _ in $(seq 100); do kill -0 "$SERVER_PID" 2>/dev/null || break; sleep 0.05; done
SERVER_PID=""
wait "$host_pid"
status=$?
check "the host outlives the server (status $status)" [ "$status" -eq 0 ]
check "the host's user is told" grep -q "returned -1" host.out
check "the host's report is kept" [ -s "$TAG-gone.txt" ]
sed -n '1,5p' host.out

finish
