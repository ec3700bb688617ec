#!/usr/bin/env bash
# Report files printed by a real Java virtual machine through the Linux
# library on the CUPS "PDF" queue: the PDFs must hold the report's pages,
# rows, text, faces and paper.
source "$(dirname "$0")/lib.sh"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1

page_size() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Page size: +([0-9.]+ x [0-9.]+).*/\1/p'; }
page_rotation() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Page rot: +//p'; }
# A page seen in landscape: a wide page, or a tall one turned a quarter.
page_is_landscape() {
  local size rotation
  size=$(page_size "$1") rotation=$(page_rotation "$1")
  awk -v w="${size%% x *}" -v h="${size##* x }" -v r="${rotation:-0}" \
    'BEGIN { turned = (r % 180 != 0); exit !(w != "" && ((w > h) != turned)) }'
}

# The examples.
cp "$ROOT"/examples/*.txt .
for example in monthly_sales inventory_wide notice; do mv "$example.txt" "$TAG-$example.txt"; done
print_request -point=9 "$TAG-monthly_sales.txt"
pdf=${PDFS[0]:-none}
check "monthly sales: three pages" [ "$(pdf_pages "$pdf")" = 3 ]
check "monthly sales: A4" [ "$(page_size "$pdf")" = "595 x 842" ]
check "monthly sales: page 3 is the third page" grep -q 'Page 3' <<<"$(pdf_page_text "$pdf" 3)"
check "monthly sales: bold and regular faces" \
  bash -c "pdffonts '$pdf' | grep -q 'DejaVuSansMono-Bold' && pdffonts '$pdf' | grep -q 'DejaVuSansMono '"
print_request -orientation=landscape -point=8 "$TAG-inventory_wide.txt"
pdf=${PDFS[0]:-none}
check "inventory: landscape page" page_is_landscape "$pdf"
check "inventory: the 132nd column is on the page" \
  bash -c "pdftotext -layout '$pdf' - | awk '{ if (length(\$0) > max) max = length(\$0) } END { exit !(max >= 130) }'"
print_request "$TAG-notice.txt"
check "notice: one page, the initial form feed skipped" [ "$(pdf_pages "${PDFS[0]:-none}")" = 1 ]

# Pages separated by form feeds, after two that must not give empty pages.
{
  printf '\f\f'
  numbered_lines 1 20; printf '\f'
  numbered_lines 21 40; printf '\f'
  numbered_lines 41 60
} >"$TAG-paged.txt"
print_request -point=10 "$TAG-paged.txt"
pdf=${PDFS[0]:-none}
check "form feeds: three pages" [ "$(pdf_pages "$pdf")" = 3 ]
for page in 1 2 3; do
  check "form feeds: page $page holds its 20 rows" \
    [ "$(pdf_page_text "$pdf" "$page" | grep -c 'of the report')" = 20 ]
done

# Full pages: the grid of the Windows driver (A4 is 3508 units high; at
# 10 points a line is 49 units, 71 lines per page; at 20 points 97 units,
# 36 lines).
numbered_lines 1 200 >"$TAG-full.txt"
for point_rows in 10:71 20:36; do
  point=${point_rows%:*} rows=${point_rows#*:}
  print_request -point="$point" "$TAG-full.txt"
  pdf=${PDFS[0]:-none}
  check "$point pt: the second page starts with row $((rows + 1))" \
    [ "$(pdf_page_text "$pdf" 2 | grep -m1 -o 'row [0-9]*')" = "row $(printf %03d $((rows + 1)))" ]
  check "$point pt: $(((200 + rows - 1) / rows)) pages" [ "$(pdf_pages "$pdf")" = $(((200 + rows - 1) / rows)) ]
done

source "$ROOT/tests/support/full_page_checks.sh"
check_full_pages "$TAG"

# Overstrikes: bold heading and underlined digits come out as text once.
printf 'T\bTo\bot\bta\bal\bl:  1\b_2\b_3\b_\r\n' >"$TAG-styled.txt"
print_request "$TAG-styled.txt"
text=$(pdf_page_text "${PDFS[0]:-none}" 1)
check "overstruck text printed once" [ "$(grep -c -E 'Total: +123' <<<"$text")" = 1 ]
check "a bold face is used" bash -c "pdffonts '${PDFS[0]:-none}' | grep -q -i bold"

# An empty report: a document without text.
: >"$TAG-empty.txt"
print_request "$TAG-empty.txt"
check "empty report gives no text" [ -z "$(pdftotext "${PDFS[0]:-none}" - 2>/dev/null | tr -d '[:space:]\f')" ]

# Paper: a custom size, and a listed form after it.
printf 'paper\r\n' >"$TAG-paper.txt"
cp "$TAG-paper.txt" "$TAG-custom.txt"
print_request -width=100m -length=200m "$TAG-custom.txt" -form_id=Letter "$TAG-paper.txt"
check "custom 100 x 200 mm page" [ "$(page_size "${PDFS[0]:-none}")" = "283 x 566" ]
check "Letter page" [ "$(page_size "${PDFS[1]:-none}")" = "612 x 792" ]

# The ruler is drawn as lines, and the text stays.
print_request -ruler "$TAG-paper.txt"
check "ruler page keeps its text" grep -q paper <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"

# Raw mode needs the driver's pass-through, which a PDF has not: the lines
# are printed as text, with the log line that says so.
printf 'raw line\r\n' >"$TAG-raw.txt"
print_request -raw -log="$WORK/raw.log" "$TAG-raw.txt"
check "raw falls back to text" grep -q 'raw line' <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
check "and says so in the log" grep -q 'PASSTHROUGH not supported, ignoring -raw flag' "$WORK/raw.log"

# OEM translation: the box-drawing byte of code page 437 comes out as the
# character it stands for in the ANSI code page.
printf 'caf\x82\r\n' >"$TAG-oem.txt"
print_request -ansi "$TAG-oem.txt"
check "OEM text translated" grep -q 'café' <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"

# A name outside ASCII (UTF-8 on Linux) is the document's title as it is,
# in the PDF as in the queue.
since=$(last_job_id)
printf 'title\r\n' >"$TAG-Übersicht.txt"
linux_print "$TAG-Übersicht.txt" >host.out 2>&1
titles=$(for pdf in $(pdfs_after_job "$since"); do pdf_title "$pdf"; done)
check "title outside ASCII: $TAG-Übersicht.txt, got: $titles" grep -qxE "\(?$TAG-Übersicht.txt\)?" <<<"$titles"

# The virtual machine takes its C locale from the environment: under
# Turkish (I and i are not one letter's two cases) and German (a decimal
# comma, where 8.5 would read as 8) the options read as anywhere else.
for locale in tr_TR.UTF-8 de_DE.UTF-8; do
  printf 'locale\r\n' >"$TAG-$locale.txt"
  PRINT_LOCALE=$locale print_request -width=8.5 -length=11 -orientation=LANDSCAPE \
    -disposition=SCRATCH "$TAG-$locale.txt"
  pdf=${PDFS[0]:-none}
  check "$locale: 8.5 x 11 in is Letter" grep -qxE '612 x 792|792 x 612' <<<"$(page_size "$pdf")"
  check "$locale: LANDSCAPE" page_is_landscape "$pdf"
  check "$locale: SCRATCH deletes the report" [ ! -e "$TAG-$locale.txt" ]
done

finish
