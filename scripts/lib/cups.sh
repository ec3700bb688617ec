# Finding what a print server printed: job ids, and the document that the
# server kept for each job. The one place that knows where a job's document
# is; shared by scripts/print, scripts/bench and the shell tests.
#
# The server is the run's own (CUPS_SERVER, see print_server.sh): its job
# ids are this run's alone, and its "cups-pdf" backend keeps each job's
# document as PDF_OUT/QUEUE-job_ID.pdf. No other run prints there, so no
# lock is needed between runs; prints of one run that overlap (the Linux
# tests run side by side) tell theirs apart by document title.

source "$(dirname "${BASH_SOURCE[0]}")/print_server.sh"

PDF_OUT="${PDF_OUT:-${PRINT_SERVER_DIR:+$PRINT_SERVER_DIR/out}}"

# The document kept for job $1 (empty when there is none after about ten
# seconds: a job on a queue that discards, or one that failed).
job_pdf() {  # id
  local file
  for _ in $(seq 50); do
    file=$(ls "${PDF_OUT:?no print server output folder}"/*-job_"$1".pdf 2>/dev/null | head -1)
    [ -n "$file" ] && break
    sleep 0.2
  done
  echo "$file"
}

# The highest job id on the server so far (0 when there is none).
last_job_id() {
  lpstat -W all -o 2>/dev/null | sed -E -n 's/^[^ ]+-([0-9]+) .*/\1/p' | sort -n | tail -1 | grep . ||
    echo 0
}

# Waits until the server has no job left to do on the queues given, or on
# any queue when none is given (at most about a minute of polls).
wait_for_cups() {
  local i
  for i in $(seq 300); do
    [ -z "$(lpstat -W not-completed -o "$@" 2>/dev/null)" ] && return 0
    sleep 0.2
  done
  echo "CUPS jobs still not completed:" >&2
  lpstat -W not-completed -o "$@" >&2
  return 1
}

# The queues whose jobs' documents are kept, one a line.
cups_pdf_queues() {
  lpstat -v 2>/dev/null | sed -E -n 's/^device for ([^:]+): (cups-pdf|pdf-sink):.*/\1/p'
}

# The jobs after job id $1 that were completed on the queues that keep
# documents and follow (all of them when none follows), one line
# "QUEUE ID PDF" each in job order, PDF being the job's document (empty
# when there is none). Jobs on other queues (say one that discards them,
# for a soak) have no document to wait for.
completed_jobs_after() {  # since [queue...]
  local since=$1 queue id pdf_queues
  shift
  wait_for_cups "$@" || return 1
  if [ $# -gt 0 ]; then pdf_queues=" $* "; else pdf_queues=" $(cups_pdf_queues | tr '\n' ' ') "; fi
  lpstat -W completed -o 2>/dev/null | sed -E -n 's/^([^ ]+)-([0-9]+) .*/\1 \2/p' | sort -k2,2n |
    while read -r queue id; do
      [ "$id" -gt "$since" ] || continue
      [[ "$pdf_queues" == *" $queue "* ]] || continue
      echo "$queue $id $(job_pdf "$id")"
    done
}

# The documents of the jobs after job id $1, one path a line, in job order.
pdfs_after_job() {
  completed_jobs_after "$1" | awk 'NF == 3 { print $3 }'
}

# The documents of the jobs on queue $2 after job id $1 whose title is $3.
# Waits only for that queue's jobs: a job that another program left on
# another queue does not hold the caller up.
pdfs_on_queue() {  # since queue title
  local since=$1 queue=$2 title=$3 id file
  wait_for_cups "$queue" >/dev/null 2>&1
  for id in $(lpstat -W completed -o "$queue" 2>/dev/null | sed -E -n 's/^[^ ]+-([0-9]+) .*/\1/p' |
      sort -n); do
    [ "$id" -gt "$since" ] || continue
    file=$(job_pdf "$id")
    [ -n "$file" ] && [ "$(pdfinfo "$file" 2>/dev/null | sed -n -E 's/^Title: +//p')" = "$title" ] &&
      echo "$file"
  done
}

# The PPD of the queues that keep each job's PDF, written here only.
CUPS_PDF_PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

# Makes queue $2 of one kind, as a user makes it with the system's
# defaults: pdf keeps each job's PDF (cups-pdf), null discards, ps and pcl
# are a generic PostScript and PCL laser printer, ipp an IPP Everywhere
# printer. It goes to URI $3 (ps, pcl and ipp discard without one; ipp
# needs one); more arguments go to lpadmin.
make_queue() {  # pdf|null|ps|pcl|ipp name [uri [lpadmin-arguments...]]
  local kind=$1 name=$2 uri=${3:-} model=()
  shift 2
  [ $# -gt 0 ] && shift
  case $kind in
    pdf) uri=${uri:-cups-pdf:/} model=(-P "$CUPS_PDF_PPD") ;;
    null) uri=${uri:-file:/dev/null} ;;
    ps) uri=${uri:-file:/dev/null} model=(-m drv:///sample.drv/generic.ppd) ;;
    pcl) uri=${uri:-file:/dev/null} model=(-m drv:///sample.drv/generpcl.ppd) ;;
    ipp) model=(-m everywhere) ;;
    *) echo "make_queue: no queue kind $kind" >&2; return 2 ;;
  esac
  lpadmin -p "$name" -E -v "${uri:?make_queue: $kind needs a printer URI}" "${model[@]}" "$@" 2>&1 |
    grep -v -i deprecated >&2
  return "${PIPESTATUS[0]}"
}

# Starts an IPP Everywhere printer on the loopback interface: ippeveprinter
# named $2, taking PDF and PWG raster, printing nothing (/bin/true is its
# print command) and spooling in folder $1; more arguments go to it (-k
# keeps every document it receives there). It needs the DNS-SD service
# (start_dns_sd). Sets PRINTER_URI and IPP_PRINTER_PID; false, with its
# log ($1.log), when it does not answer.
start_ipp_printer() {  # dir name [ippeveprinter-options...]
  local dir=$1 name=$2 port
  shift 2
  mkdir -p "$dir"
  port=$(free_loopback_port) || return 1
  ippeveprinter -n localhost -p "$port" -f application/pdf,image/pwg-raster -c /bin/true -d "$dir" \
    "$@" "$name" </dev/null >"$dir.log" 2>&1 &
  IPP_PRINTER_PID=$!
  PRINTER_URI="ipp://localhost:$port/ipp/print"
  for _ in $(seq 50); do
    ipptool -q "$PRINTER_URI" get-printer-attributes.test 2>/dev/null && return 0
    sleep 0.2
  done
  echo "the IPP Everywhere printer did not answer; its log:" >&2
  tail -20 "$dir.log" >&2
  return 1
}
