#!/usr/bin/env bash
# A print server that stops in the middle of a document and starts again:
# it would keep the half-sent job queued for a quarter of an hour. The
# library cancels it once the server answers again, when the next report
# is printed in the same virtual machine. The server is a cupsd of this
# test's own; the machine's CUPS is not touched.
source "$(dirname "$0")/lib.sh"

JAVA_PID=""
work_folder
on_exit '[ -n "$JAVA_PID" ] && kill "$JAVA_PID" 2>/dev/null'
own_print_server
mkdir classes
CUPS_SERVER="$SERVER_SOCKET" make_queue null RESTART && lpadmin -h "$SERVER_SOCKET" -d RESTART

# Long enough that its document is still on its way when the server stops.
awk 'BEGIN { for (i = 0; i < 400000; i++) printf "row %07d of a long report\r\n", i }' >long.txt
printf 'after the restart\r\n' >short.txt
javac -cp "$NATIVE/java" -d classes "$ROOT/tests/java/ServerRestartProbe.java" || exit 1
CUPS_SERVER="$SERVER_SOCKET" java -Xcheck:jni -Djava.library.path="$NATIVE" -cp "$NATIVE/java:classes" \
  ServerRestartProbe "$WORK/server-back" long.txt short.txt >host.out 2>&1 &
JAVA_PID=$!
wait_until 30 eval '[ -n "$(lpstat -h "$SERVER_SOCKET" -o RESTART 2>/dev/null)" ]'
sleep 1
stop_print_server "$WORK/server"
wait_until 30 grep -q '^first done' host.out
run_print_server "$WORK/server"
left=$(lpstat -h "$SERVER_SOCKET" -W not-completed -o RESTART 2>/dev/null)
touch server-back
wait "$JAVA_PID"
status=$? JAVA_PID=""
cat host.out

check "the virtual machine ends normally" [ $status -eq 0 ]
check "no JNI warning" no_jni_warning host.out
check "the server came back holding the half-sent job" [ -n "$left" ]
check "the next report prints (spooled and deleted)" [ ! -e short.txt ]
check "the half-sent job is cancelled, not left queued: $(lpstat -h "$SERVER_SOCKET" -W not-completed -o RESTART 2>/dev/null)" \
  [ -z "$(lpstat -h "$SERVER_SOCKET" -W not-completed -o RESTART 2>/dev/null)" ]

finish
