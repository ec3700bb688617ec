#!/usr/bin/env bash
# One virtual machine prints; the print server's default printer is changed
# and the old one removed; the machine's next request takes the new one.
source "$(dirname "$0")/lib.sh"
work_folder && own_print_server && mkdir classes && export CUPS_SERVER=$SERVER_SOCKET
javac -cp "$NATIVE/java" -d classes "$ROOT/tests/java/PrinterOutageProbe.java" || exit 1
make_queue null FIRST && make_queue null SECOND && lpadmin -d FIRST || exit 1
printf 'one\r\n' >outage-1.txt && printf 'two\r\n' >outage-2.txt
java -Xcheck:jni -Djava.library.path="$NATIVE" -cp "$NATIVE/java:classes" PrinterOutageProbe \
  "$WORK/moved" >host.out 2>&1 &
for _ in $(seq 300); do grep -q '^waiting' host.out && break; sleep 0.1; done
lpadmin -d SECOND && lpadmin -x FIRST && touch moved && wait $!
check "the first request on the default then" grep -qx 'name before: FIRST' host.out
check "the next one on the default of now" grep -qx 'name after: SECOND' host.out
check "and printed there" [ "$(lpstat -W all -o SECOND 2>/dev/null | wc -l)" = 1 ]
finish
