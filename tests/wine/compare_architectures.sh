#!/usr/bin/env bash
# The x86-64 DLL prints the example reports exactly as the 32-bit DLL does:
# each report is printed through both, each in its own Wine prefix, with the
# same request, and the two PDFs must have the same page count, page sizes
# and the same text on every page. The 32-bit DLL runs in a 32-bit prefix of
# this tree's own, on this tree's print server: the 32-bit tree's prefix
# belongs to its own tests, which may be running (or ending, with their Wine
# server) at the same time.
source "$(dirname "$0")/lib.sh"

TREE32="${PLENWICK_I686_BUILD:?}"
if [ ! -f "$TREE32/plenwick_print.exe" ] || [ ! -f "$TREE32/PLENWICKDLL.dll" ]; then
  echo "no 32-bit build in $TREE32 to compare with"
  exit 77
fi

PREFIX32="$WINBUILD/wineprefix-i686"
WORK=$(mktemp -d)
trap 'WINEPREFIX="$PREFIX32" wineserver -k 2>/dev/null; rm -rf "$WORK"' EXIT
if [ ! -f "$PREFIX32/system.reg" ]; then
  echo "creating the 32-bit Wine prefix $PREFIX32"
  WINEPREFIX="$PREFIX32" WINEARCH=win32 wineboot -i </dev/null >/dev/null 2>&1
fi
cd "$WORK" || exit 1
# The queue may be shared: each document carries a title of this run only,
# and its PDF is found by it.
TAG="a$$"

# Prints report $4 through the host of tree $1 in Wine prefix $2 of
# architecture $3, with options $5...; echoes the PDF of the document.
print_through() {
  local tree=$1 prefix=$2 arch=$3 report=$4 since status
  shift 4
  export WINEPREFIX="$prefix" WINEARCH=$arch
  since=$(last_job_id)
  # A message box nobody answers (no printer at all) must not hold the
  # run up for long.
  WINEPATH=$(winepath -w "$tree") timeout 120 \
    "$ROOT/scripts/wine-run" "$tree/plenwick_print.exe" "$@" "$report" >"$WORK/host.out" 2>&1
  status=$?
  [ $status -eq 0 ] || echo "host of $tree: status $status: $(cat "$WORK/host.out")" >&2
  pdfs_titled "$since" "$report" | head -1
}

page_sizes() { pdfinfo -f 1 -l 999 "$1" 2>/dev/null | sed -n -E 's/^Page +[0-9]+ (size|rot):/\1/p'; }

compare() {  # report-file options...
  local example report pdf32 pdf64 pages page
  example=$(basename "$1")
  report="${TAG}_$example"
  cp "$1" "$report"
  shift
  pdf32=$(print_through "$TREE32" "$PREFIX32" win32 "$report" "$@")
  pdf64=$(print_through "$WINBUILD" "$WINBUILD/wineprefix" win64 "$report" "$@")
  check "$example: a PDF from the 32-bit DLL" [ -f "$pdf32" ]
  check "$example: a PDF from the x86-64 DLL" [ -f "$pdf64" ]
  [ -f "$pdf32" ] && [ -f "$pdf64" ] || return
  pages=$(pdf_pages "$pdf32")
  echo "$example: $pages pages from the 32-bit DLL, $(pdf_pages "$pdf64") from the x86-64 DLL"
  check "$example: printed at all" [ "${pages:-0}" -gt 0 ]
  check "$example: same page count" [ "$(pdf_pages "$pdf64")" = "$pages" ]
  check "$example: same title" [ "$(pdf_title "$pdf64")" = "$(pdf_title "$pdf32")" ]
  check "$example: same page sizes and rotation" [ "$(page_sizes "$pdf64")" = "$(page_sizes "$pdf32")" ]
  for ((page = 1; page <= ${pages:-0}; page++)); do
    check "$example: same text on page $page" \
      [ "$(pdf_page_text "$pdf64" "$page")" = "$(pdf_page_text "$pdf32" "$page")" ]
  done
}

compare "$ROOT/examples/monthly_sales.txt" -point=9
compare "$ROOT/examples/inventory_wide.txt" -orientation=landscape -point=8
compare "$ROOT/examples/notice.txt"
# Pages that end because they are full, not on a form feed.
for ((i = 1; i <= 150; i++)); do printf 'row %03d of a long report\r\n' "$i"; done >"$WORK/long.txt"
compare "$WORK/long.txt" -point=10 -form_id=Letter
finish
