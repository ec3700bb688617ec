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

work_folder
# Started the way the run's own server is: the test goes on only once the
# scheduler answers on its socket.
check "the test's own print server runs" own_print_server
SERVER_PID=$(print_server_pid "$WORK/server")
export CUPS_SERVER=$SERVER_SOCKET
QUEUE="hung-$$"
make_queue null "$QUEUE" && lpadmin -d "$QUEUE"

# Waits until the job after job id $1 is on the server: its document is on
# its way.
job_after() { [ "$(last_job_id)" -gt "$1" ]; }
wait_for_job_after() { wait_until 20 job_after "$1"; }

# The server works: a report prints and SCRATCH deletes it.
printf 'fine\r\n' >"$TAG-fine.txt"
linux_print -disposition=scratch "$TAG-fine.txt" >host.out 2>&1
check "a working server prints and the report goes" [ ! -e "$TAG-fine.txt" ]
wait_for_cups "$QUEUE"

# A report of many pages, so that the server is stopped while the PDF is
# still streaming into the job.
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "row %06d of a long report that keeps the server busy\r\n", i }' \
  >"$TAG-long.txt"
since=$(last_job_id)
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
since=$(last_job_id)
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
