# Full pages, whichever library prints: sourced by a shell test that has
# print_request (filling PDFS), numbered_lines, check and the PDF readers.
# On A4 at 10 points a page holds 71 rows (a line is 49 of 3508 units).

# The numbers of the rows on page $2 of PDF $1 (all pages without $2), in order.
row_numbers() {
  if [ $# -gt 1 ]; then pdf_page_text "$1" "$2"; else pdftotext -layout "$1" - 2>/dev/null; fi |
    grep -o 'row [0-9]*' | sed 's/row 0*//'
}

check_full_pages() {  # tag
  local tag=$1 rows=71 pdf
  numbered_lines 1 300 >"$tag-300.txt"
  print_request -point=10 "$tag-300.txt"
  pdf=${PDFS[0]:-none}
  check "300 rows at 10 pt: 5 pages" [ "$(pdf_pages "$pdf")" = 5 ]
  check "page 1 holds rows 1 to $rows" [ "$(row_numbers "$pdf" 1 | tr '\n' ' ')" = "$(seq -s ' ' 1 $rows) " ]
  check "page 2 starts with row $((rows + 1))" [ "$(row_numbers "$pdf" 2 | head -1)" = $((rows + 1)) ]
  check "every row once, in order" [ "$(row_numbers "$pdf" | tr '\n' ' ')" = "$(seq -s ' ' 1 300) " ]

  # Full pages ended by form feeds, on the last row's line or on a line of
  # their own: one page per form feed, none empty.
  local i
  for i in 0 1 2; do
    numbered_lines $((i * rows + 1)) $((i * rows + rows - 1))
    printf 'row %03d of the report\f' $((i * rows + rows))
  done >"$tag-ff-on-row.txt"
  for i in 0 1 2; do numbered_lines $((i * rows + 1)) $((i * rows + rows)); printf '\f'; done >"$tag-ff-own-line.txt"
  print_request -point=10 "$tag-ff-on-row.txt" "$tag-ff-own-line.txt"
  check "full pages, form feed on the last row: 3 pages" [ "$(pdf_pages "${PDFS[0]:-none}")" = 3 ]
  check "full pages, form feed on its own line: 3 pages" [ "$(pdf_pages "${PDFS[1]:-none}")" = 3 ]

  # One row more than a page holds, then a form feed, twice: the extra row
  # goes alone on the next page, and no page is empty.
  { numbered_lines 1 $((rows + 1)); printf '\f'; numbered_lines $((rows + 2)) $((2 * rows + 2)); printf '\f'; } \
    >"$tag-overfull.txt"
  print_request -point=10 "$tag-overfull.txt"
  pdf=${PDFS[0]:-none}
  check "one row over a full page, twice: 4 pages" [ "$(pdf_pages "$pdf")" = 4 ]
  check "page 2 holds the one extra row" [ "$(row_numbers "$pdf" 2 | tr '\n' ' ')" = "$((rows + 1)) " ]
  check "page 4 holds the other extra row" [ "$(row_numbers "$pdf" 4 | tr '\n' ' ')" = "$((2 * rows + 2)) " ]
}
