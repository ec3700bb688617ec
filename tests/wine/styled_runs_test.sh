#!/usr/bin/env bash
# Styled runs on the real CUPS "PDF" printer: styled_runs.exe prints one
# page through the style fonts and PutRun; the PDF must hold every run
# once, in its row and column, with a bold face among its fonts. The page is
# also kept as a picture, styled_runs.png in the build tree, for a look at
# the bold and underlined runs.
source "$(dirname "$0")/lib.sh"

since=$(last_job_id)
check "styled_runs.exe prints" bash -c "cd '$WINBUILD' && '$ROOT/scripts/wine-run' ./styled_runs.exe"

pdf=""
for file in $(pdfs_after_job "$since"); do
  [ "$(pdf_title "$file")" = "plenwick styled runs" ] && pdf=$file
done
if [ -z "$pdf" ]; then
  fail "no PDF titled 'plenwick styled runs' after job $since"
  finish
fi
echo "PDF: $pdf"
check "one page" test "$(pdf_pages "$pdf")" = 1

text=$(pdf_page_text "$pdf" 1)
echo "$text"

# Each run's text appears exactly once, as a whole word.
once() { [ "$(grep -o -w -F -- "$1" <<<"$text" | wc -l)" -eq 1 ]; }
for word in Plain Bold Under BoldUnder Left Right; do
  check "'$word' appears once" once "$word"
done
# Runs cut from one overstruck line join up again; the dot is the middle
# dot; OEM text reads right after ANSI translation. OEM translation sends
# OEM bytes to an ANSI font, so e-acute, middle dot and pound come out as
# the ANSI characters of 0x82, 0xFA and 0x9C.
check "overstruck line" once "Total: 123 and note x· end"
check "OEM report translated to ANSI" once "OEM report: café Grüße"
check "ANSI text translated to OEM" once "To OEM: ‚úœ"

# Rows in their order, and columns on the character grid.
row() { grep -n -F -- "$1" <<<"$text" | head -1 | cut -d: -f1; }
column() { grep -F -- "$1" <<<"$text" | head -1 | awk -v word="$1" '{ print index($0, word) - 1 }'; }
check "rows in order" test "$(row Plain)" -lt "$(row Left)" -a "$(row Left)" -lt "$(row Total:)" \
  -a "$(row Total:)" -lt "$(row 'OEM report')" -a "$(row 'OEM report')" -lt "$(row 'To OEM')"
check "runs of one row in column order" grep -q -E 'Plain +Bold +Under +BoldUnder' <<<"$text"
check "Left starts in column 4" test "$(column Left)" -eq 4
check "Right stands under BoldUnder" test "$(column Right)" -eq "$(column BoldUnder)"

fonts=$(pdffonts "$pdf" 2>/dev/null)
echo "$fonts"
check "a bold face is used" grep -q -E '^[A-Z]+\+[^ ]*Bold ' <<<"$fonts"
check "a regular face is used" grep -q -E '^[A-Z]+\+[^ -]+ ' <<<"$fonts"

rm -f "$WINBUILD/styled_runs.png"
pdftoppm -png -r 50 -f 1 -l 1 -singlefile "$pdf" "$WINBUILD/styled_runs"
check "page picture $WINBUILD/styled_runs.png" test -s "$WINBUILD/styled_runs.png"
finish
