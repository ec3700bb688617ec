# Shared by the tests that print on each kind of CUPS queue as a user makes
# it with the system's defaults: what the printer received must hold the
# report's text, its pages, and no page painted as a picture.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

work_folder

# A printer on the loopback interface that takes raw jobs (AppSocket, as
# network printers do) and keeps each connection's bytes in DIR/job-N.
# Sets PRINTER_URI.
start_socket_printer() {  # dir
  mkdir -p "$1"
  timeout 600 python3 - "$1" >/dev/null 2>"$1.log" <<'PY' &
import os, socket, sys
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(4)
with open(sys.argv[1] + "/port", "w") as out:
    out.write(str(listener.getsockname()[1]))
job = 0
while True:
    connection, _ = listener.accept()
    connection.settimeout(300)
    job += 1
    with open("%s/job-%d.part" % (sys.argv[1], job), "wb") as out:
        while True:
            data = connection.recv(65536)
            if not data:
                break
            out.write(data)
    connection.close()
    os.rename("%s/job-%d.part" % (sys.argv[1], job), "%s/job-%d" % (sys.argv[1], job))
PY
  on_exit "kill $! 2>/dev/null"
  wait_until 5 test -s "$1/port"
  PRINTER_URI="socket://127.0.0.1:$(cat "$1/port" 2>/dev/null)"
}

# An IPP Everywhere printer on the loopback interface (start_ipp_printer
# of scripts/lib/cups.sh) that keeps every document it receives in DIR,
# ended with the test. Sets PRINTER_URI.
start_kept_ipp_printer() {  # dir
  start_ipp_printer "$1" "plenwick-ipp-$$" -k
  on_exit "kill $IPP_PRINTER_PID 2>/dev/null"
}

# The report: three pages separated by form feeds, forty rows each.
make_report() {  # file
  local page row
  for page in 1 2 3; do
    for ((row = 1; row <= 40; row++)); do
      printf 'page %d row %02d of the queue report\r\n' "$page" "$row"
    done
    [ $page -lt 3 ] && printf '\f'
  done >"$1"
}

# Prints the report on the queue through the library in a Java virtual
# machine, and waits until CUPS has done with the job. Sets JOB_SINCE to
# the job id before it.
print_on() {  # queue report
  JOB_SINCE=$(last_job_id)
  linux_print -point=9 -interactive=none -printer_id="$1" "$2" >host.out 2>&1
  check "the request returns to Java ($1)" [ $? -eq 0 ]
  wait_for_cups "$1"
  check "the job completed ($1)" [ -n "$(lpstat -W completed -o "$1" 2>/dev/null)" ]
}

# The checks of a PDF the printer received.
check_document() {  # what pdf
  local what=$1 pdf=$2 text page
  check "$what: a PDF arrived" [ -s "$pdf" ]
  check "$what: three pages" [ "$(pdf_pages "$pdf")" = 3 ]
  for page in 1 2 3; do
    text=$(pdf_page_text "$pdf" "$page")
    check "$what: page $page holds its 40 rows as text" \
      [ "$(grep -c "page $page row [0-9][0-9] of the queue report" <<<"$text")" = 40 ]
  done
  check "$what: no page is an image" \
    [ "$(pdfimages -list "$pdf" 2>/dev/null | tail -n +3 | wc -l)" = 0 ]
}
