#!/usr/bin/env bash
# The print servers that runs and tests start for themselves: two at once,
# each on its own port and socket, keep each job's document under that
# job's id in their own output folder, whatever the job ids; a folder too
# deep for a local socket's path still gets a server; a stopped server
# leaves no process behind, and one started again in its folder keeps its
# queues and its job numbers; a folder CUPS's filters may not enter (a
# clone in a `mktemp -d` folder) still gets a server whose jobs print.
source "$(dirname "$0")/lib.sh"

# CUPS's own user runs the filters: the servers' folders lie in the build
# tree, which it can reach.
BASE="$NATIVE/print-server-test-$$"
DEEP="$BASE/$(printf 'a%.0s' $(seq 60))/$(printf 'b%.0s' $(seq 60))"
work_folder
HIDDEN="$BASE/hidden/server"
on_exit 'stop_print_server "$BASE/one"; stop_print_server "$BASE/two"; stop_print_server "$DEEP"; stop_print_server "$HIDDEN"; rm -rf "$(readlink -f "$HIDDEN")" "$BASE"'

check "one server starts" start_print_server "$BASE/one"
check "a second one starts beside it" start_print_server "$BASE/two"
check "a server in a folder too deep for a socket path starts" start_print_server "$DEEP"
ONE=$(print_server_socket "$BASE/one")
TWO=$(print_server_socket "$BASE/two")
check "each has its own port" [ "$(print_server_port "$BASE/one")" != "$(print_server_port "$BASE/two")" ]
check "the deep one's socket path fits (${#DEEP} characters of folder)" \
  [ "$(print_server_socket "$DEEP" | wc -c)" -le 101 ]
check "the deep one answers" print_server_running "$DEEP"

for server in "$ONE" "$TWO"; do
  CUPS_SERVER=$server make_queue pdf PDF 2>/dev/null
done
# Two jobs on the first server, one on the second: both servers have a job
# 1, and neither document may take the other's place.
page() { printf '%%!PS\n/Helvetica findfont 12 scalefont setfont 72 700 moveto (%s) show showpage\n' "$1"; }
page 'first on one' >a.ps
page 'second on one' >b.ps
page 'first on two' >c.ps
CUPS_SERVER=$ONE lp -d PDF -t first-one a.ps >/dev/null
CUPS_SERVER=$ONE lp -d PDF -t second-one b.ps >/dev/null
CUPS_SERVER=$TWO lp -d PDF -t first-two c.ps >/dev/null
CUPS_SERVER=$ONE wait_for_cups PDF
CUPS_SERVER=$TWO wait_for_cups PDF
one1=$(PDF_OUT="$BASE/one/out" job_pdf 1)
one2=$(PDF_OUT="$BASE/one/out" job_pdf 2)
two1=$(PDF_OUT="$BASE/two/out" job_pdf 1)
check "job 1 on the first server is its first document" grep -q 'first on one' <<<"$(pdf_page_text "$one1" 1)"
check "job 2 on the first server is its second" grep -q 'second on one' <<<"$(pdf_page_text "$one2" 1)"
check "job 1 on the second server is its own" grep -q 'first on two' <<<"$(pdf_page_text "$two1" 1)"
check "the document keeps the job's title" grep -qE '^\(?first-one\)?$' <<<"$(pdf_title "$one1")"

# Under a folder only its owner may enter, the filters, run as CUPS's own
# user, still read the job: otherwise every document comes out empty.
mkdir -p "$BASE/hidden" && chmod 700 "$BASE/hidden"
check "a server under a folder others may not enter starts" start_print_server "$HIDDEN"
CUPS_SERVER=$(print_server_socket "$HIDDEN") make_queue pdf PDF 2>/dev/null
CUPS_SERVER=$(print_server_socket "$HIDDEN") lp -d PDF -t hidden a.ps >/dev/null
CUPS_SERVER=$(print_server_socket "$HIDDEN") wait_for_cups PDF
check "and its job prints" grep -q 'first on one' <<<"$(pdf_page_text "$(PDF_OUT="$HIDDEN/out" job_pdf 1)" 1)"

# Stopped, nothing of it runs; started again, its queue and numbering go on.
pid=$(print_server_pid "$BASE/one")
stop_print_server "$BASE/one"
check "a stopped server's cupsd has gone" bash -c "! kill -0 $pid 2>/dev/null"
check "a stopped server does not answer" bash -c "! lpstat -h '$ONE' -r 2>/dev/null | grep -q 'is running'"
check "it starts again in its folder" run_print_server "$BASE/one"
check "with its queue" bash -c "CUPS_SERVER='$ONE' lpstat -p PDF >/dev/null"
CUPS_SERVER=$ONE lp -d PDF -t third-one a.ps >/dev/null
CUPS_SERVER=$ONE wait_for_cups PDF
check "and the next job id after its last" [ -n "$(PDF_OUT="$BASE/one/out" job_pdf 3)" ]

# The backend itself: an empty document (filters that failed) is refused,
# never kept as an empty file; anything that is neither PostScript nor PDF
# is kept as it came, under its job id.
SINK="$BASE/two/bin/backend/pdf-sink"
PRINTER=PDF "$SINK" 41 user empty 1 "" </dev/null 2>/dev/null
check "an empty document is refused" [ $? -ne 0 ]
check "and nothing is kept for it" bash -c "! ls '$BASE/two/out/' | grep -q 'job_41'"
printf 'raw bytes' | PRINTER=PDF "$SINK" 42 user raw 1 "" 2>/dev/null
check "other data is kept as it came" [ "$(cat "$BASE/two/out/PDF-job_42.prn" 2>/dev/null)" = "raw bytes" ]
finish
