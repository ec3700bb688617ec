#!/usr/bin/env bash
# Report files printed through the real DLL, as the Java side calls it,
# on the CUPS "PDF" printer: the PDFs must hold the report's pages, rows
# and text.
source "$(dirname "$0")/lib.sh"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
export WINEPATH
WINEPATH=$(winepath -w "$WINBUILD")

# Prints one request; PDFS holds the PDF of each document, in order. Other
# programs may print at the same time: only documents titled after one of
# the request's report files (named with this process's id) count.
PDFS=()
print_request() {
  local since pdf title argument
  since=$(last_job_id)
  wine_run "$WINBUILD/plenwick_print.exe" "$@" >"$WORK/host.out" 2>&1 ||
    fail "print host failed for $*: $(cat "$WORK/host.out")"
  PDFS=()
  for pdf in $(pdfs_after_job "$since"); do
    title=$(pdf_title "$pdf")
    for argument in "$@"; do
      if [ "$argument" = "$title" ]; then
        PDFS+=("$pdf")
        break
      fi
    done
  done
}


# Pages separated by form feeds, 20 rows each, after two initial form
# feeds that must not give empty pages.
{
  printf '\f\f'
  numbered_lines 1 20; printf '\f'
  numbered_lines 21 40; printf '\f'
  numbered_lines 41 60
} >paged_$$.txt
print_request -point=10 paged_$$.txt
check "one PDF for the form-feed report" [ "${#PDFS[@]}" -eq 1 ]
pdf=${PDFS[0]:-none}
check "three pages, the initial form feeds skipped" [ "$(pdf_pages "$pdf")" = 3 ]
check "document title is the file name" [ "$(pdf_title "$pdf")" = paged_$$.txt ]
for page in 1 2 3; do
  first=$(((page - 1) * 20 + 1))
  last=$((page * 20))
  text=$(pdf_page_text "$pdf" "$page")
  check "page $page starts with row $first" \
    [ "$(grep -m1 -o 'row [0-9]*' <<<"$text")" = "row $(printf %03d $first)" ]
  check "page $page ends with row $last" \
    [ "$(grep -o 'row [0-9]*' <<<"$text" | tail -1)" = "row $(printf %03d $last)" ]
  check "page $page holds its 20 rows" [ "$(grep -c 'of the report' <<<"$text")" = 20 ]
done

# Full pages without form feeds: every page holds the same number of rows
# and the rows go on where the previous page stopped.
numbered_lines 1 200 >full_$$.txt
print_request -point=10 full_$$.txt
pdf=${PDFS[0]:-none}
pages=$(pdf_pages "$pdf")
second=$(pdf_page_text "$pdf" 2 | grep -m1 -o 'row [0-9]*' | grep -o '[0-9]*$')
per_page=$((10#${second:-1} - 1))
check "a full page holds more than one row ($per_page)" [ "$per_page" -gt 1 ]
check "pages follow from rows per page" [ "$pages" = $(((200 + per_page - 1) / per_page)) ]
for ((page = 2; page <= pages; page++)); do
  expected=$(((page - 1) * per_page + 1))
  check "page $page starts with row $expected" \
    [ "$(pdf_page_text "$pdf" "$page" | grep -m1 -o 'row [0-9]*')" = "row $(printf %03d $expected)" ]
done

source "$ROOT/tests/support/full_page_checks.sh"
check_full_pages "full_$$"

# Overstrikes: bold heading and underlined words come out as text once.
printf 'T\bTo\bot\bta\bal\bl:  1\b_2\b_3\b_\r\n' >styled_$$.txt
print_request styled_$$.txt
text=$(pdf_page_text "${PDFS[0]:-none}" 1)
check "overstruck text printed once" [ "$(grep -c -E 'Total: +123' <<<"$text")" = 1 ]
check "no overstrike left in the text" [ "$(grep -c -E 'TT|__' <<<"$text")" = 0 ]
check "a bold face is used" bash -c "pdffonts '${PDFS[0]:-none}' | grep -q -i bold"

# An empty report makes a document without pages (CUPS turns it into one
# blank page).
: >empty_$$.txt
print_request empty_$$.txt
check "empty report gives no text" [ -z "$(pdftotext "${PDFS[0]:-none}" - 2>/dev/null | tr -d '[:space:]\f')" ]

# Orientation and paper.
printf 'landscape\r\n' >land_$$.txt
print_request -orientation=landscape land_$$.txt
check "landscape page" bash -c "pdfinfo '${PDFS[0]:-none}' | grep -E -q 'Page rot: +(90|270)|Page size: +842 x 595'"
printf 'paper\r\n' >paper_$$.txt
print_request -form_id=A4 paper_$$.txt -form_id=Letter paper_$$.txt
check "two documents for two files" [ "${#PDFS[@]}" -eq 2 ]
check "A4 page" bash -c "pdfinfo '${PDFS[0]:-none}' | grep -q 'Page size: *595 x 842'"
check "Letter page" bash -c "pdfinfo '${PDFS[1]:-none}' | grep -q 'Page size: *612 x 792'"

# A printer that does not exist: the box names the system's reason; Retry
# prints on the selected printer.
printf 'retried\r\n' >retry_$$.txt
PLENWICK_ANSWER="Plenwick - Can't Open Printer=retry" print_request -printer_id=Nowhere retry_$$.txt
check "the box says why" grep -q "box Plenwick - Can't Open Printer: Invalid printer name." host.out
check "Retry prints on the default printer" grep -q retried <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"

# SCRATCH: a printed report goes, with its configuration file; a report
# whose printer was given up on stays.
printf -- '-disposition=scratch\n' >job.cfg
printf 'scratch me\r\n' >gone_$$.txt
print_request -config=job.cfg gone_$$.txt
check "printed report deleted" [ ! -e gone_$$.txt ]
check "configuration file deleted" [ ! -e job.cfg ]
check "it was printed" grep -q 'scratch me' <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
printf 'keep me\r\n' >kept_$$.txt
PLENWICK_ANSWER="Plenwick - Can't Open Printer=cancel" \
  print_request -disposition=scratch -printer_id=Nowhere kept_$$.txt
check "an unprinted report is kept" [ -e kept_$$.txt ]
check "nothing printed for it" [ "${#PDFS[@]}" -eq 0 ]

finish
