#!/usr/bin/env bash
# Two libraries print the same requests alike: in the x86-64 Windows tree
# its DLL against the 32-bit one, in the 32-bit tree its DLL against the
# Linux library in a virtual machine. Each report goes through both, on
# this tree's print server, and the two PDFs must have the same page
# count, title, pages and the same text on every page as pdftotext lays it
# out. Skipped without the other tree (PLENWICK_I686_BUILD, PLENWICK_NATIVE).
source "$(dirname "$0")/../wine/lib.sh"
work_folder
TAG="cmp$$"

skip() { echo "skipped: $*"; exit 77; }
page_boxes() { pdfinfo -f 1 -l 999 "$1" 2>/dev/null | sed -n -E 's/^Page +[0-9]+ (size|rot):/\1/p'; }
# Each page's width x height as seen, after its rotation.
page_shapes() {
  page_boxes "$1" | awk '$1 == "size" { size = $2 " " $4 } $1 == "rot" { split(size, s, " ")
    print ($2 % 180 ? s[2] " x " s[1] : s[1] " x " s[2]) }'
}

if [ -n "${PLENWICK_ARM64:-}" ]; then
  # The arm64 library under qemu-user against the x86-64 one, each through
  # its console printer: the same driver code, the same pages.
  NATIVE="${PLENWICK_NATIVE:?}"
  [ -x "$NATIVE/plenwick-print" ] || skip "no Linux library built in $NATIVE"
  FIRST=("$NATIVE/plenwick-print") FIRST_NAME="x86-64 library"
  SECOND=(qemu-aarch64 -L / "$WINBUILD/plenwick-print") SECOND_NAME="arm64 library"
  same_pages() { [ "$(page_boxes "$1")" = "$(page_boxes "$2")" ]; }
elif [ "$WINE_HOST" = wine64 ]; then
  # The 32-bit DLL in a 32-bit prefix of this tree's own: the 32-bit tree's
  # prefix belongs to its own tests, which may be running (or ending, with
  # their Wine server) at the same time. Both DLLs drive the same Windows
  # driver: their page boxes and rotations must be the same.
  TREE32="${PLENWICK_I686_BUILD:?}"
  [ -f "$TREE32/plenwick_print.exe" ] && [ -f "$TREE32/PLENWICKDLL.dll" ] || skip "no 32-bit build in $TREE32"
  PREFIX32="$WINBUILD/wineprefix-i686"
  on_exit 'WINEPREFIX="$PREFIX32" wineserver -k 2>/dev/null'
  [ -f "$PREFIX32/system.reg" ] || WINEPREFIX="$PREFIX32" WINEARCH=win32 wineboot -i </dev/null >/dev/null 2>&1
  FIRST=(env WINEPREFIX="$PREFIX32" WINEARCH=win32 WINEPATH="$(winepath -w "$TREE32")"
         "$ROOT/scripts/wine-run" "$TREE32/plenwick_print.exe") FIRST_NAME="32-bit DLL"
  print_via wine64
  SECOND=("${HOST_PRINT[@]}") SECOND_NAME="x86-64 DLL"
  same_pages() { [ "$(page_boxes "$1")" = "$(page_boxes "$2")" ]; }
else
  # The Linux library turns a landscape page where the Windows driver gives
  # a portrait page turned a quarter: the pages must look the same.
  NATIVE="${PLENWICK_NATIVE:?}" LIBRARY_DIR="$PLENWICK_NATIVE"
  [ -f "$NATIVE/libPLENWICKDLL.so" ] && [ -f "$NATIVE/java/PlenwickPrint.class" ] ||
    skip "no Linux library built in $NATIVE"
  print_via wine32
  FIRST=("${HOST_PRINT[@]}") FIRST_NAME="32-bit DLL"
  SECOND=(jvm) SECOND_NAME="Linux library"
  same_pages() { [ "$(page_shapes "$1")" = "$(page_shapes "$2")" ]; }
fi

# Page $2 of PDF $1 laid out at the grid's pitch $3 (points): the columns
# come from where each character stands, not from how wide its glyph is
# (a face drawn to fit its cell is a hair wider than Wine's).
page_text_at() { pdftotext -fixed "$3" -f "$2" -l "$2" "$1" - 2>/dev/null; }
# The pitch: the longest plain word of page 1, its width over its letters.
grid_pitch() {
  pdftotext -bbox -f 1 -l 1 "$1" - 2>/dev/null |
    sed -n -E 's/.*xMin="(-?[0-9.]+)".*xMax="([0-9.]+)".*>([!-~]+)<\/word>/\1 \2 \3/p' |
    awk '{ n = length($3); if (n > best) { best = n; pitch = ($2 - $1) / n } } END { printf "%.3f", pitch }'
}
# Prints the report (the last argument) through host $1 (an array name)
# with the other arguments; PDF is its PDF.
print_through() {  # FIRST|SECOND option... report
  local -n host=$1
  shift
  if [ "${host[0]}" = jvm ]; then print_via jvm; else PRINT_HOST=other HOST_PRINT=(timeout 120 "${host[@]}"); fi
  print_request "$@"
  PDF=$(request_pdf "${*: -1}")
}

compare() {  # label option... report
  local label=$1 first second pages page pitch
  shift
  print_through FIRST "$@" && first=$PDF
  print_through SECOND "$@" && second=$PDF
  check "$label: a PDF from the $FIRST_NAME" [ -f "$first" ]
  check "$label: a PDF from the $SECOND_NAME" [ -f "$second" ]
  [ -f "$first" ] && [ -f "$second" ] || return
  pages=$(pdf_pages "$first")
  echo "$label: $pages pages from the $FIRST_NAME, $(pdf_pages "$second") from the $SECOND_NAME"
  check "$label: printed at all" [ "${pages:-0}" -gt 0 ]
  check "$label: same page count" [ "$(pdf_pages "$second")" = "$pages" ]
  check "$label: same title" [ "$(pdf_title "$second" | tr -d '()')" = "$(pdf_title "$first" | tr -d '()')" ]
  check "$label: same pages" same_pages "$first" "$second"
  pitch=$(grid_pitch "$first")
  for ((page = 1; page <= ${pages:-0}; page++)); do
    check "$label: page $page reads the same" \
      diff <(page_text_at "$first" "$page" "$pitch") <(page_text_at "$second" "$page" "$pitch")
  done
}

for example in monthly_sales inventory_wide notice; do cp "$ROOT/examples/$example.txt" "$TAG-$example.txt"; done
compare "monthly sales at 9 pt" -point=9 "$TAG-monthly_sales.txt"
compare "inventory, landscape at 8 pt" -orientation=landscape -point=8 "$TAG-inventory_wide.txt"
compare "notice in the printer's font" "$TAG-notice.txt"
{
  printf '\f\f'
  numbered_lines 1 20; printf '\f'
  numbered_lines 21 40; printf '\f'
  numbered_lines 41 60
} >"$TAG-paged.txt"
compare "form feeds" -point=10 "$TAG-paged.txt"
# Pages that end because they are full, not on a form feed.
numbered_lines 1 200 >"$TAG-full.txt"
compare "full pages at 10 pt" -point=10 "$TAG-full.txt"
compare "full pages at 20 pt" -point=20 "$TAG-full.txt"
compare "full pages on Letter" -point=10 -form_id=Letter "$TAG-full.txt"
printf 'T\bTo\bot\bta\bal\bl:  1\b_2\b_3\b_\r\nplain line\r\n' >"$TAG-styled.txt"
compare "overstrikes" -point=12 "$TAG-styled.txt"
compare "Letter paper with a ruler" -form_id=Letter -ruler -point=10 "$TAG-paged.txt"
if [ -n "${PLENWICK_ARM64:-}" ]; then
  source "$ROOT/tests/support/output_file_checks.sh"
  PRINT_HOST=console HOST_PRINT=("${SECOND[@]}") && check_output_files "$TAG"
fi
finish
