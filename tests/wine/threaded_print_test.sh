#!/usr/bin/env bash
# Four threads of one process printing through the real DLL and asking for
# the printer's name at once: no crash, every answer right, and every
# report a whole PDF of its own pages and rows.
source "$(dirname "$0")/lib.sh"

ROUNDS=5
work_folder
print_via "$WINE_HOST"

# Report N: two pages of 30 rows, each row naming the report. Reports 1
# and 3 are printed in landscape, 2 and 4 in portrait.
reports=()
for n in 1 2 3 4; do
  report="thr${n}_$$.txt"
  {
    for i in $(seq 30); do printf 'report %d row %02d\r\n' "$n" "$i"; done
    printf '\f'
    for i in $(seq 31 60); do printf 'report %d row %02d\r\n' "$n" "$i"; done
  } >"$report"
  reports+=("$report")
done

since=$(last_job_id)
# Twenty prints take well under a minute; a host that waits for itself
# is stopped.
timeout 150 "$ROOT/scripts/wine-run" "$WINBUILD/threaded_print.exe" "$ROUNDS" PDF "${reports[@]}" \
  >host.out 2>&1
status=$?
[ $status -eq 124 ] && echo "the host did not end within 150 s"
cat host.out
check "the host ends normally" [ $status -eq 0 ]
check "four threads answered rightly" [ "$(tr -d '\r' <host.out | grep -c ': ok$')" = 4 ]
mapfile -t pdfs < <(pdfs_after_job "$since")

for n in 1 2 3 4; do
  whole=0
  count=0
  for pdf in "${pdfs[@]}"; do
    [ "$(pdf_title "$pdf")" = "${reports[$((n - 1))]}" ] || continue
    count=$((count + 1))
    first=$(pdf_page_text "$pdf" 1 | grep -c "^ *report $n row ")
    second=$(pdf_page_text "$pdf" 2 | grep -c "^ *report $n row ")
    others=$(pdftotext "$pdf" - 2>/dev/null | grep -c "report [^$n] row")
    if [ $((n % 2)) = 1 ]; then
      layout='Page rot: +(90|270)|Page size: +842 x 595'
    else
      layout='Page size: +595 x 842'
    fi
    [ "$(pdf_pages "$pdf")" = 2 ] && [ "$first" = 30 ] && [ "$second" = 30 ] &&
      [ "$others" = 0 ] && pdfinfo "$pdf" | grep -E -q "$layout" && whole=$((whole + 1))
  done
  check "report $n: $ROUNDS PDFs ($count), each its own two whole pages in its layout ($whole)" \
    [ "$count" = "$ROUNDS" -a "$whole" = "$ROUNDS" ]
done
finish
