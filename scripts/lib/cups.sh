# Finding what CUPS printed: job ids and the PDFs that cups-pdf wrote for
# them. Shared by scripts/print and the shell tests of the Windows build.

PDF_OUT="${PDF_OUT:-/var/spool/cups-pdf-plenwick}"

# The highest CUPS job id so far (0 when there is none).
last_job_id() {
  lpstat -W all -o 2>/dev/null | sed -E -n 's/^[^ ]+-([0-9]+) .*/\1/p' | sort -n | tail -1 | grep . ||
    echo 0
}

# Waits until CUPS has no job left to do (at most about a minute of polls).
wait_for_cups() {
  local i
  for i in $(seq 300); do
    [ -z "$(lpstat -W not-completed -o 2>/dev/null)" ] && return 0
    sleep 0.2
  done
  echo "CUPS jobs still not completed:" >&2
  lpstat -W not-completed -o >&2
  return 1
}

# The PDFs that cups-pdf wrote for the jobs after job id $1, one path a
# line, in job order. cups-pdf names each file after the document title
# and ends it with -job_N.pdf.
pdfs_after_job() {
  local since=$1 id file
  wait_for_cups || return 1
  for id in $(lpstat -W completed -o 2>/dev/null | sed -E -n 's/^[^ ]+-([0-9]+) .*/\1/p' | sort -n); do
    [ "$id" -gt "$since" ] || continue
    file=""
    for _ in $(seq 50); do
      file=$(ls -t "$PDF_OUT"/*-job_"$id".pdf 2>/dev/null | head -1)
      [ -n "$file" ] && break
      sleep 0.2
    done
    [ -n "$file" ] && echo "$file"
  done
}
