# Finding what CUPS printed: job ids and the PDFs that cups-pdf wrote for
# them. Shared by scripts/print and the shell tests of the Windows build.

PDF_OUT="${PDF_OUT:-/var/spool/cups-pdf-plenwick}"

# A print is found by the job ids that came after it, so two prints on the
# shared queue at once would take each other's PDFs: every print of the
# tests and commands, from any work tree, holds this lock from its first
# job id to its last PDF.
PRINT_LOCK="${PRINT_LOCK:-/tmp/plenwick-print.lock}"
# A print that hangs must not stop every other: after two minutes the
# waiting print goes on without the lock (its PDFs are still known by their
# titles).
lock_printing() { exec {PRINT_LOCK_FD}>>"$PRINT_LOCK" && { flock -w 120 "$PRINT_LOCK_FD" || true; }; }
unlock_printing() { flock -u "$PRINT_LOCK_FD" && exec {PRINT_LOCK_FD}>&-; }

# The highest CUPS job id so far (0 when there is none).
last_job_id() {
  lpstat -W all -o 2>/dev/null | sed -E -n 's/^[^ ]+-([0-9]+) .*/\1/p' | sort -n | tail -1 | grep . ||
    echo 0
}

# Waits until CUPS has no job left to do on the queues given, or on any
# queue when none is given (at most about a minute of polls).
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

# The CUPS queues that print through cups-pdf, one a line.
cups_pdf_queues() {
  lpstat -v 2>/dev/null | sed -E -n 's/^device for ([^:]+): cups-pdf:.*/\1/p'
}

# The jobs after job id $1 that CUPS completed on the cups-pdf queues that
# follow (all of them when none follows), one line "QUEUE ID PDF" each in
# job order, PDF being the file that cups-pdf wrote for the job (empty when
# it wrote none). cups-pdf names each file after the document title and
# ends it with -job_N.pdf. Jobs on other queues (say one that discards
# them, for a soak) have no file to wait for.
completed_jobs_after() {  # since [queue...]
  local since=$1 queue id file pdf_queues
  shift
  wait_for_cups "$@" || return 1
  if [ $# -gt 0 ]; then pdf_queues=" $* "; else pdf_queues=" $(cups_pdf_queues | tr '\n' ' ') "; fi
  lpstat -W completed -o 2>/dev/null | sed -E -n 's/^([^ ]+)-([0-9]+) .*/\1 \2/p' | sort -k2,2n |
    while read -r queue id; do
      [ "$id" -gt "$since" ] || continue
      [[ "$pdf_queues" == *" $queue "* ]] || continue
      file=""
      for _ in $(seq 50); do
        file=$(ls -t "$PDF_OUT"/*-job_"$id".pdf 2>/dev/null | head -1)
        [ -n "$file" ] && break
        sleep 0.2
      done
      echo "$queue $id $file"
    done
}

# The PDFs that cups-pdf wrote for the jobs after job id $1, one path a
# line, in job order.
pdfs_after_job() {
  completed_jobs_after "$1" | awk 'NF == 3 { print $3 }'
}
