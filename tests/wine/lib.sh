# Shared by the shell tests of the Windows build. They run with
# PLENWICK_ROOT (the sources) and PLENWICK_BUILD (the Windows build tree)
# set by ctest, and with the Wine prefix, display and CUPS that scripts/test
# prepared.
set -uo pipefail

ROOT="${PLENWICK_ROOT:?}"
WINBUILD="${PLENWICK_BUILD:?}"
PDF_OUT="${PDF_OUT:-/var/spool/cups-pdf-plenwick}"
export WINEPREFIX="${WINEPREFIX:-$WINBUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"

FAILURES=0
fail() {
  echo "FAIL: $*" >&2
  FAILURES=$((FAILURES + 1))
}
check() {  # description command...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}
finish() {
  if [ "$FAILURES" -gt 0 ]; then
    echo "$FAILURES check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

# Runs a Windows program of the build tree under Wine.
wine_run() { "$ROOT/scripts/wine-run" "$@"; }

# The highest CUPS job id so far (0 when there is none).
last_job_id() {
  lpstat -W all -o 2>/dev/null | sed -E -n 's/^[^ ]+-([0-9]+) .*/\1/p' | sort -n | tail -1 | grep . ||
    echo 0
}

# Waits until CUPS has no job left to do (at most about a minute).
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
    for _ in $(seq 50); do
      file=$(ls -t "$PDF_OUT"/*-job_"$id".pdf 2>/dev/null | head -1)
      [ -n "$file" ] && break
      sleep 0.2
    done
    [ -n "$file" ] && echo "$file"
  done
}

pdf_pages() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Pages: +([0-9]+)/\1/p'; }
pdf_title() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Title: +//p'; }
# The text of page $2 of PDF $1, laid out in rows and columns.
pdf_page_text() { pdftotext -layout -f "$2" -l "$2" "$1" - 2>/dev/null; }
