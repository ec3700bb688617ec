# What the shell tests share, whichever library they print through: checks
# and their tally, and reading back the PDFs that CUPS wrote.
set -uo pipefail

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
not() { ! "$@"; }  # for check: check "what" not command...
# Asks COMMAND every tenth of a second until it succeeds, for SECONDS at most.
wait_until() {  # seconds command...
  local tries=$(($1 * 10))
  shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
finish() {
  if [ "$FAILURES" -gt 0 ]; then
    echo "$FAILURES check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

source "${PLENWICK_ROOT:?}/scripts/lib/cups.sh"

# Report lines "row NNN of the report", numbered from $1 to $2, CR LF.
numbered_lines() {  # first last
  local i
  for ((i = $1; i <= $2; i++)); do printf 'row %03d of the report\r\n' "$i"; done
}

pdf_pages() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Pages: +([0-9]+)/\1/p'; }
pdf_title() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Title: +//p'; }
pdf_page_text() { pdftotext -layout -f "$2" -l "$2" "$1" - 2>/dev/null; }

# The PDFs of jobs after job id $1 whose document title is $2: other
# programs may print on the same CUPS at the same time. A title may stand
# in parentheses: cups-pdf takes it from the PostScript that CUPS made of
# the Linux library's PDF.
pdfs_titled() {
  local pdf title
  for pdf in $(pdfs_after_job "$1"); do
    title=$(pdf_title "$pdf")
    [ "$title" = "$2" ] || [ "$title" = "($2)" ] && echo "$pdf"
  done
}

# Removes a queue of a test's own, trying again while CUPS is busy.
remove_queue() {
  local i
  for i in 1 2 3 4 5; do
    lpadmin -x "$1" 2>/dev/null && return 0
    lpstat -p "$1" >/dev/null 2>&1 || return 0
    sleep 1
  done
}
