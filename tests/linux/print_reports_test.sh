#!/usr/bin/env bash
# Report files printed by a real Java virtual machine through the Linux
# library on the CUPS "PDF" queue: the scenario every host runs
# (tests/support/print_reports_checks.sh), then the examples, custom paper,
# the ruler, raw mode, OEM text, titles and locales.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/print_reports_checks.sh"
work_folder

check_print_reports "$TAG"
check_unicode_names "$TAG"

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

printf 'paper\r\n' >"$TAG-custom.txt"
cp "$TAG-custom.txt" "$TAG-letter.txt"
print_request -width=100m -length=200m "$TAG-custom.txt" -form_id=Letter "$TAG-letter.txt"
check "custom 100 x 200 mm page" [ "$(page_size "${PDFS[0]:-none}")" = "283 x 566" ]
check "Letter page after it" [ "$(page_size "${PDFS[1]:-none}")" = "612 x 792" ]

# The ruler is drawn as lines, and the text stays.
printf 'paper\r\n' >"$TAG-ruler.txt"
print_request -ruler "$TAG-ruler.txt"
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
