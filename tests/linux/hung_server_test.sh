#!/usr/bin/env bash
# A print server that stops answering in the middle of a job: the request
# still returns to Java, the user is told that the page failed, and a
# report under SCRATCH is kept, since nobody confirmed its document.
#
# The server is a cupsd of this test's own, on a socket in its work folder,
# so that stopping it holds up no other print on the machine.
source "$(dirname "$0")/lib.sh"

WORK=$(mktemp -d)
SERVER_PID=""
cleanup() {
  # A stopped server is woken before it is ended, whatever way the test
  # ends.
  if [ -n "$SERVER_PID" ]; then
    kill -CONT "$SERVER_PID" 2>/dev/null
    kill "$SERVER_PID" 2>/dev/null
    wait "$SERVER_PID" 2>/dev/null
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK" || exit 1

mkdir -p server/{spool,cache,state,tmp,log}
cat >server/cups-files.conf <<EOF
ServerRoot $WORK/server
RequestRoot $WORK/server/spool
CacheDir $WORK/server/cache
StateDir $WORK/server/state
TempDir $WORK/server/tmp
ErrorLog $WORK/server/log/error_log
AccessLog $WORK/server/log/access_log
PageLog $WORK/server/log/page_log
SystemGroup root
EOF
cat >server/cupsd.conf <<EOF
Listen $WORK/server/cups.sock
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
EOF
chmod 755 "$WORK"
cupsd -f -c "$WORK/server/cupsd.conf" -s "$WORK/server/cups-files.conf" &
SERVER_PID=$!
export CUPS_SERVER="$WORK/server/cups.sock"
for _ in $(seq 50); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
check "the test's own print server runs" lpstat -r
QUEUE="hung-$$"
lpadmin -p "$QUEUE" -E -v file:/dev/null && lpadmin -d "$QUEUE"

# The server works: a report prints and SCRATCH deletes it.
printf 'fine\r\n' >"$TAG-fine.txt"
linux_print -disposition=scratch "$TAG-fine.txt" >host.out 2>&1
check "a working server prints and the report goes" [ ! -e "$TAG-fine.txt" ]

# A report of many pages, so that the server is stopped while the PDF is
# still streaming into the job.
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "row %06d of a long report that keeps the server busy\r\n", i }' \
  >"$TAG-long.txt"
started=$SECONDS
timeout 240 java -Xcheck:jni -Djava.library.path="$NATIVE" -cp "$NATIVE/java" PlenwickPrint \
  -disposition=scratch "$TAG-long.txt" >host.out 2>&1 &
java_pid=$!
for _ in $(seq 200); do
  [ -n "$(lpstat -o "$QUEUE" 2>/dev/null)" ] && break
  sleep 0.05
done
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

finish
