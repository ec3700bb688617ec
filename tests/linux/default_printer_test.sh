#!/usr/bin/env bash
# The default printer of now: one virtual machine prints, the print
# server's default printer is changed (then removed), and the machine's
# next request goes to the default of now. A server of the test's own.
source "$(dirname "$0")/lib.sh"

work_folder
own_print_server
export CUPS_SERVER=$SERVER_SOCKET
mkdir classes
javac -cp "$NATIVE/java" -d classes "$ROOT/tests/java/PrinterOutageProbe.java" || exit 1
make_queue null FIRST && make_queue null SECOND || exit 1

probe() {  # default-at-first command-between...
  lpadmin -d "$1" && shift
  printf 'one\r\n' >outage-1.txt && printf 'two\r\n' >outage-2.txt && rm -f between
  java -Xcheck:jni -Djava.library.path="$NATIVE" -cp "$NATIVE/java:classes" PrinterOutageProbe \
    "$WORK/between" >host.out 2>&1 &
  for _ in $(seq 300); do grep -q '^waiting' host.out && break; sleep 0.1; done
  "$@" && touch between && wait $!
}
probe FIRST lpadmin -d SECOND
check "changed: the first request on the default then" grep -qx 'name before: FIRST' host.out
check "changed: the next one on the default of now" grep -qx 'name after: SECOND' host.out
check "changed: printed there" [ "$(lpstat -W all -o SECOND 2>/dev/null | wc -l)" = 1 ]
probe SECOND sh -c 'lpadmin -x SECOND && lpadmin -d FIRST'
check "removed: the next request on the default of now" grep -qx 'name after: FIRST' host.out
check "removed: and printed" [ ! -e outage-2.txt ]

finish
