#!/usr/bin/env bash
# A print server that is down when the virtual machine first needs a
# printer, and back later: the first request fails ("Can't Get DEVMODE",
# the report kept), and the next one, in the same virtual machine, finds
# the server's default printer and prints. The server is a cupsd of this
# test's own on a socket of its own; the machine's CUPS is not touched.
source "$(dirname "$0")/lib.sh"

work_folder
own_print_server --later
mkdir classes

printf 'during the outage\r\n' >outage-1.txt
printf 'after the outage\r\n' >outage-2.txt
javac -cp "$NATIVE/java" -d classes "$ROOT/tests/java/PrinterOutageProbe.java" || exit 1
CUPS_SERVER="$SERVER_SOCKET" java -Xcheck:jni -Djava.library.path="$NATIVE" -cp "$NATIVE/java:classes" \
  PrinterOutageProbe "$WORK/server-back" >host.out 2>&1 &
JAVA_PID=$!
wait_until 30 grep -q '^waiting' host.out

run_print_server "$WORK/server"
CUPS_SERVER="$SERVER_SOCKET" make_queue null LATE && lpadmin -h "$SERVER_SOCKET" -d LATE
touch server-back
wait "$JAVA_PID"
status=$?
cat host.out

check "the virtual machine ends normally" [ $status -eq 0 ]
check "no JNI warning" no_jni_warning host.out
check "no printer during the outage" grep -q '^name before: \*\*ERROR\*\* ' host.out
check "the request said so" grep -q "Plenwick - Can't Get DEVMODE" host.out
check "and kept its report" [ -e outage-1.txt ]
check "one line says there is no printer" \
  grep -qxF "plenwick: outage-1.txt not printed: no printer is installed or reachable" host.out
check "the printer is found once the server is back" grep -qx 'name after: LATE' host.out
check "the next request prints (its report spooled and deleted)" [ ! -e outage-2.txt ]
check "as a job of the server's" [ "$(lpstat -h "$SERVER_SOCKET" -W all -o LATE 2>/dev/null | wc -l)" = 1 ]

finish
