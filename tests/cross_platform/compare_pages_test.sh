#!/usr/bin/env bash
# The same print requests through the 32-bit DLL under Wine and through the
# Linux library in a real virtual machine, on the same CUPS "PDF" queue:
# the same number of pages, and the same text on every page as pdftotext
# lays it out. Runs with PLENWICK_ROOT, PLENWICK_BUILD (the Windows build
# tree) and PLENWICK_NATIVE (the native build tree) set.
source "$(dirname "$0")/../wine/lib.sh"
NATIVE="${PLENWICK_NATIVE:?}"
if [ ! -f "$NATIVE/libPLENWICKDLL.so" ] || [ ! -f "$NATIVE/java/PlenwickPrint.class" ]; then
  echo "skipped: no Linux library built in $NATIVE"
  exit 77
fi

work_folder
print_via "$WINE_HOST"
TAG="cp$$"

# The PDF of the report file $2 printed after job id $1, title as written.
pdf_after() {
  local pdf
  for pdf in $(pdfs_after_job "$1"); do
    [[ "$(pdf_title "$pdf")" =~ ^\(?"$2"\)?$ ]] && echo "$pdf" && return
  done
}

# compare LABEL OPTION... REPORT: one report file, printed by both.
compare() {
  local label=$1 report=${*: -1} since windows linux page pages
  shift
  since=$(last_job_id)
  wine_run "$WINBUILD/plenwick_print.exe" "$@" >wine.out 2>&1
  windows=$(pdf_after "$since" "$report")
  since=$(last_job_id)
  java -Xcheck:jni -Djava.library.path="$NATIVE" -cp "$NATIVE/java" PlenwickPrint "$@" >java.out 2>&1
  linux=$(pdf_after "$since" "$report")
  if [ -z "$windows" ] || [ -z "$linux" ]; then
    fail "$label: a PDF is missing (Windows: ${windows:-none}, Linux: ${linux:-none})"
    return
  fi
  pages=$(pdf_pages "$windows")
  echo "$label: Windows $pages pages, Linux $(pdf_pages "$linux") pages"
  check "$label: same number of pages" [ "$pages" = "$(pdf_pages "$linux")" ]
  for ((page = 1; page <= pages; page++)); do
    check "$label: page $page reads the same" \
      diff <(pdf_page_text "$windows" "$page") <(pdf_page_text "$linux" "$page")
  done
  if [ -n "${SIDE_BY_SIDE:-}" ]; then
    paste <(pdf_page_text "$windows" 1 | cut -c1-60 | sed 's/$/                                                             /' | cut -c1-62) \
      <(pdf_page_text "$linux" 1 | cut -c1-60) | head -"$SIDE_BY_SIDE"
  fi
}


for example in monthly_sales inventory_wide notice; do
  cp "$ROOT/examples/$example.txt" "$TAG-$example.txt"
done
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
numbered_lines 1 200 >"$TAG-full.txt"
compare "full pages at 10 pt" -point=10 "$TAG-full.txt"
compare "full pages at 20 pt" -point=20 "$TAG-full.txt"
printf 'T\bTo\bot\bta\bal\bl:  1\b_2\b_3\b_\r\nplain line\r\n' >"$TAG-styled.txt"
compare "overstrikes" -point=12 "$TAG-styled.txt"
compare "Letter paper with a ruler" -form_id=Letter -ruler -point=10 "$TAG-paged.txt"

finish
