#!/usr/bin/env bash
# Printing to another print server, as to a central CUPS server over IPP: a
# second server of the test's own on another loopback port. The library
# prints there through CUPS_SERVER and through a queue of the run's server
# that forwards to it; the document arrives whole with its job attributes.
# The server going away in the middle of a job, and a queue that wants a
# password, each give a clear answer: the request returns, the report is
# kept, and nothing waits for a password on the terminal.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/central_server.sh"

# The server's folder must be one that CUPS's own user can reach (its
# filters run as that user): the build tree, not a private temporary one.
CENTRAL="$NATIVE/central-server-$$"
FORWARD="plenwick-forward-$$"
if [ -n "${KEEP_CENTRAL:-}" ]; then WORK=$(mktemp -d) && cd "$WORK"; else work_folder; fi
on_exit 'stop_print_server "$CENTRAL"; [ -n "${KEEP_CENTRAL:-}" ] || rm -rf "$CENTRAL"'

if ! start_central_server "$CENTRAL"; then
  fail "the central print server did not start"
  finish
fi
check "the central server has its queues" bash -c "CUPS_SERVER=$REMOTE lpstat -v | grep -c 'device for' | grep -qx 2"

# "name value" lines of job $1 on the central server's queue $2.
central_job() {  # id queue
  cat >job.test <<'TEST'
{
  OPERATION Get-Job-Attributes
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri $uri
  ATTR integer job-id $job_id
  ATTR keyword requested-attributes all
  STATUS successful-ok
}
TEST
  ipptool -tv -d job_id="$1" "ipp://$REMOTE/printers/$2" job.test |
    sed -E -n 's/^ +([a-z-]+) \([a-zA-Z]+\) = (.*)$/\1 \2/p'
}

# A report of 30 numbered pages, each row naming its page.
for ((page = 1; page <= 30; page++)); do
  for ((row = 1; row <= 20; row++)); do printf 'page %d row %d\r\n' $page $row; done
  printf '\f'
done >"$TAG-central.txt"
cp "$TAG-central.txt" "$TAG-forward.txt"

# arrives(CASE, QUEUE, REPORT, SINCE): the document and its job attributes
# on the central server.
arrives() {
  local what=$1 queue=$2 report=$3 since=$4 found pdf id attributes
  found=$(central_pdf "$since" "$report")
  pdf=${found% *}
  id=${found##* }
  check "$what: the document arrived" [ -n "$found" ]
  [ -n "$found" ] || return
  # Uncollated copies are the printer's to make: the document has its 30
  # pages once, and the job asks for two copies.
  check "$what: all 30 pages" [ "$(pdf_pages "$pdf")" = 30 ]
  check "$what: the last page is page 30" grep -q 'page 30 row 20' <<<"$(pdf_page_text "$pdf" 30)"
  attributes=$(central_job "$id" "$queue")
  check "$what: two copies" grep -qx 'copies 2' <<<"$attributes"
  check "$what: Letter" grep -qx 'media na_letter_8.5x11in' <<<"$attributes"
  check "$what: the document name is the job name" grep -qx "job-name $report" <<<"$attributes"
}

# Through CUPS_SERVER: the central server's queues are the printers.
since=$(central last_job_id)
CUPS_SERVER="$REMOTE" linux_print -copies=2 -form_id=Letter -printer_id=CENTRAL "$TAG-central.txt" \
  >host.out 2>&1
check "CUPS_SERVER: the request returns" [ $? -eq 0 ]
arrives "CUPS_SERVER" CENTRAL "$TAG-central.txt" "$since"

# Through a queue of the run's own server that forwards to the central one.
# The queue passes the document on as it came ("raw"): the central server's
# queue prints it as it prints a job sent to it directly.
own_queue null "$FORWARD" "ipp://$REMOTE/printers/CENTRAL" -m raw
check "the forwarding queue exists" lpstat -p "$FORWARD"
since=$(central last_job_id)
linux_print -copies=2 -form_id=Letter -printer_id="$FORWARD" "$TAG-forward.txt" >host.out 2>&1
check "forwarded: the request returns" [ $? -eq 0 ]
wait_for_cups "$FORWARD" >/dev/null
arrives "forwarded" CENTRAL "$TAG-forward.txt" "$since"

# A queue that wants a password, asked from a terminal (the request runs on
# a pseudo-terminal of its own): no question there, a line that names the
# reason, the refused job's report kept.
printf 'secure\r\n' >"$TAG-secure.txt"
CUPS_SERVER="$REMOTE" timeout 60 script -qec \
  "java -Xcheck:jni -Djava.library.path='$NATIVE' -cp '$NATIVE/java' PlenwickPrint -disposition=scratch -printer_id=SECURE $TAG-secure.txt" \
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
since=$(central last_job_id)
CUPS_SERVER="$REMOTE" linux_print -disposition=scratch -printer_id=CENTRAL "$TAG-gone.txt" >host.out 2>&1 &
host=$!
for _ in $(seq 600); do
  central lpstat -o CENTRAL 2>/dev/null | grep -q . && break
  kill -0 $host 2>/dev/null || break
  sleep 0.05
done
check "gone: the job was being sent when the server went" kill -0 $host
stop_print_server "$CENTRAL"
wait $host
status=$?
cat host.out
check "gone: the request returns (status $status)" [ $status -eq 0 ]
check "gone: the user is told" grep -q -E '(EndPage|EndDoc) returned' host.out
check "gone: the report is kept" [ -e "$TAG-gone.txt" ]

finish
