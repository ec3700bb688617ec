# Report files printed, whichever library prints (tests/linux and
# tests/wine print_reports_test.sh): pages and rows, overstrikes, an empty
# report, orientation and paper, SCRATCH. Sourced by a shell test standing
# in its work folder, with the kit (print_request, the PDF reader) and a
# host.
# On A4 the grid of the Windows driver is 3508 units high: at 10 points a
# line is 49 units, 71 rows a page; at 20 points 97 units, 36 rows.

check_print_reports() {  # tag
  local tag=$1 pdf page text point rows pages
  # Pages separated by form feeds, after two that must not give empty pages.
  {
    printf '\f\f'
    numbered_lines 1 20; printf '\f'
    numbered_lines 21 40; printf '\f'
    numbered_lines 41 60
  } >"$tag-paged.txt"
  print_request -point=10 "$tag-paged.txt"
  check "form feeds: one PDF" [ "${#PDFS[@]}" -eq 1 ]
  pdf=${PDFS[0]:-none}
  check "form feeds: three pages" [ "$(pdf_pages "$pdf")" = 3 ]
  check "form feeds: the title is the file name" grep -qxE "\(?$tag-paged.txt\)?" <<<"$(pdf_title "$pdf")"
  for page in 1 2 3; do
    check "form feeds: page $page starts with row $((page * 20 - 19))" [ "$(first_row "$pdf" $page)" = $((page * 20 - 19)) ]
    check "form feeds: page $page ends with row $((page * 20))" [ "$(last_row "$pdf" $page)" = $((page * 20)) ]
    check "form feeds: page $page holds its 20 rows" [ "$(pdf_page_text "$pdf" "$page" | grep -c 'of the report')" = 20 ]
  done

  # Full pages without form feeds: each page holds the grid's rows, and
  # the rows go on where the previous page stopped.
  numbered_lines 1 200 >"$tag-full.txt"
  for point_rows in 10:71 20:36; do
    point=${point_rows%:*} rows=${point_rows#*:}
    print_request -point="$point" "$tag-full.txt"
    pdf=${PDFS[0]:-none} pages=$(((200 + rows - 1) / rows))
    check "$point pt: $pages pages" [ "$(pdf_pages "$pdf")" = $pages ]
    for ((page = 2; page <= pages; page++)); do
      check "$point pt: page $page starts with row $(((page - 1) * rows + 1))" \
        [ "$(first_row "$pdf" $page)" = $(((page - 1) * rows + 1)) ]
    done
  done

  # Overstrikes: bold heading and underlined digits come out as text once.
  printf 'T\bTo\bot\bta\bal\bl:  1\b_2\b_3\b_\r\n' >"$tag-styled.txt"
  print_request "$tag-styled.txt"
  text=$(pdf_page_text "${PDFS[0]:-none}" 1)
  check "overstruck text printed once" [ "$(grep -c -E 'Total: +123' <<<"$text")" = 1 ]
  check "no overstrike left in the text" [ "$(grep -c -E 'TT|__' <<<"$text")" = 0 ]
  check "a bold face is used" pdf_has_face "${PDFS[0]:-none}" -i bold
  check "the digits are underlined" pdf_underlined "${PDFS[0]:-none}" 123
  check "the heading is not" not pdf_underlined "${PDFS[0]:-none}" Total:

  # An empty report: a document without text.
  : >"$tag-empty.txt"
  print_request "$tag-empty.txt"
  check "empty report gives no text" [ -z "$(pdftotext "${PDFS[0]:-none}" - 2>/dev/null | tr -d '[:space:]\f')" ]

  # Orientation and paper: listed forms, one file printed on each.
  printf 'landscape\r\n' >"$tag-land.txt"
  print_request -orientation=landscape "$tag-land.txt"
  check "landscape page" page_is_landscape "${PDFS[0]:-none}"
  printf 'paper\r\n' >"$tag-paper.txt"
  print_request -form_id=A4 "$tag-paper.txt" -form_id=Letter "$tag-paper.txt"
  check "two documents for two files" [ "${#PDFS[@]}" -eq 2 ]
  check "A4 page" [ "$(page_size "${PDFS[0]:-none}")" = "595 x 842" ]
  check "Letter page" [ "$(page_size "${PDFS[1]:-none}")" = "612 x 792" ]

  # SCRATCH: a printed report goes, with its configuration file (a report
  # whose printer was given up on stays: print_failures_checks.sh).
  printf -- '-disposition=scratch\n' >job.cfg
  printf 'scratch me\r\n' >"$tag-gone.txt"
  print_request -config=job.cfg "$tag-gone.txt"
  check "printed report deleted" [ ! -e "$tag-gone.txt" ]
  check "configuration file deleted" [ ! -e job.cfg ]
  check "it was printed" grep -q 'scratch me' <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
}

# Names the ANSI code page cannot spell, and an absolute path of over 300
# characters, reach the system whole; each report is found by its text.
check_unicode_names() {  # tag
  local tag=$1 long report i=0 pdf found since
  long=$PWD/$tag-$(printf '%0200d' 0)/$(printf '%090d' 0).txt
  mkdir -p "$tag-Łódź" "${long%/*}"
  for report in "$tag-Łódź/report.txt" "$tag-報告.txt" "$long"; do
    i=$((i + 1))
    printf 'unicode name %d\r\n' $i >"$report"
    [[ $PRINT_HOST == wine* && $report == /* ]] && report=Z:$report
    [[ $report == *$long ]] && report=\"$report\"  # a leading / is an option
    since=$(last_job_id)
    PRINT_LOCALE=C.UTF-8 LC_ALL=C.UTF-8 print_request "$report"
    found=no
    for pdf in $(pdfs_after_job "$since"); do
      grep -q "unicode name $i\$" <<<"$(pdf_page_text "$pdf" 1)" && found=yes
    done
    check "a report named ${report:0:60}... printed" [ $found = yes ]
  done
}
