# Shared by the shell tests of the Windows build. They run with
# PLENWICK_ROOT (the sources) and PLENWICK_BUILD (the Windows build tree)
# set by ctest, and with the Wine prefix, display and CUPS that scripts/test
# prepared.
set -uo pipefail

ROOT="${PLENWICK_ROOT:?}"
WINBUILD="${PLENWICK_BUILD:?}"
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

source "$ROOT/scripts/lib/cups.sh"

pdf_pages() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Pages: +([0-9]+)/\1/p'; }
pdf_title() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Title: +//p'; }
# The text of page $2 of PDF $1, laid out in rows and columns.
pdf_page_text() { pdftotext -layout -f "$2" -l "$2" "$1" - 2>/dev/null; }

# The PDFs of jobs after job id $1 whose document title is $2: other
# programs may print on the same CUPS at the same time.
pdfs_titled() {
  local pdf
  for pdf in $(pdfs_after_job "$1"); do
    [ "$(pdf_title "$pdf")" = "$2" ] && echo "$pdf"
  done
}
