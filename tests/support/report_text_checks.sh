# Report text as other programs write it, whichever library prints:
# backspace overstrikes as a line printer reads them, man pages formatted
# for one, UTF-8 lines, and 8-bit reports as before. Sourced by a shell test
# standing in its work folder, with the kit (print_request, the PDF reader)
# and a host.
# TEXT_NOT_BACK, when a host sets it, matches the UTF-8 lines whose glyphs
# print but whose text its queue loses on the way to the PDF.

# The words of page 1 of PDF $1, a line each: column, row, word. The first
# row of the page is a ruler of digits, whose first and last characters
# give the grid; a row is the order of its line on the page.
grid_words() {  # pdf
  pdftotext -bbox -f 1 -l 1 "$1" - 2>/dev/null |
    sed -n -E 's/.*<word xMin="(-?[0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="[0-9.]+">(.*)<\/word>/\1 \2 \3 \4/p' |
    awk 'NR == 1 { x0 = $1; cell = ($3 - $1) / length($4); y = $2 - 99 }
         { if ($2 - y > 4) { row++; y = $2 }
           printf "%d %d %s\n", ($1 - x0) / cell + 0.5, row - 1, $4 }'
}

# "column:word ..." of row $2 of grid_words output $1.
row_words() { awk -v row="$2" '$2 == row { printf "%s%d:%s", n++ ? " " : "", $1, $3 }' <<<"$1"; }

RULER='0123456789012345678901234567890123456789'

# Each overstrike form, one row each after the ruler: where its glyphs
# land and the column of the character after it ("|").
check_overstrike_cells() {  # tag
  local tag=$1 words
  local -a lines=(
    '_\bF_\bI_\bL_\bE |'           '0:FILE 5:|'
    'F\b_I\b_ |'                   '0:FI 3:|'
    'B\bBO\bOL\bLD\bD |'           '0:BOLD 5:|'
    '_\bB\bB_\bU\bU |'             '0:BU 3:|'
    '_\bc_\bo_\bm_\bm_\ba_\bn_\bd |' '0:command 8:|'
    'ab\bm |'                      '0:ab· 4:|'
    '\b\bab\b\b\b_c |\b'           '0:abc 4:|'
  )
  local i report="$tag-overstrike.txt"
  { printf '%s\r\n' "$RULER"; for ((i = 0; i < ${#lines[@]}; i += 2)); do printf "${lines[i]}\r\n"; done; } >"$report"
  print_request -point=10 "$report"
  words=$(grid_words "${PDFS[0]:-none}")
  for ((i = 0; i < ${#lines[@]}; i += 2)); do
    check "overstrike ${lines[i]}: $(row_words "$words" $((i / 2 + 1)))" \
      [ "$(row_words "$words" $((i / 2 + 1)))" = "${lines[i + 1]}" ]
  done

  # Two characters struck over each other share a cell: the bar after a
  # line of bullets stands where it stands after as many plain cells, and
  # the cell shows both glyphs, as the two drawn apart show them.
  printf '%s\r\n%s\r\n+ o +\bo\r\n+\bo +\bo +\bo |\r\n' "$RULER" "$RULER" >"$tag-bullets.txt"
  print_request -point=10 "$tag-bullets.txt"
  words=$(grid_words "${PDFS[0]:-none}")
  check "bullets: the bar in column 6 ($(row_words "$words" 3))" grep -q ' 6:|$' <<<"$(row_words "$words" 3)"
  check "an overprinted cell holds both glyphs" cell_holds_both "${PDFS[0]:-none}"
}

# Cells 0 and 2 of row 2 ("+" and "o"), drawn over each other, look like
# cell 4 ("+" struck over by "o"); the background of the later glyph, or a
# cell of its own, would leave one of them out. The two rulers above give
# the grid.
cell_holds_both() {  # pdf
  local pdf=$1 cells
  pdftoppm -r 150 -gray -f 1 -l 1 -singlefile "$pdf" page
  mapfile -t cells < <(pdftotext -bbox -f 1 -l 1 "$pdf" - 2>/dev/null |
    sed -n -E 's/.*<word xMin="(-?[0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">.*/\1 \2 \3 \4/p' |
    awk -v dpi=150 'NR == 1 { x0 = $1; cell = ($3 - $1) / 40; top = $2; height = $4 - $2 }
      NR == 2 { y = top + 2 * ($2 - top)
                for (c = 0; c <= 4; c += 2) printf "%dx%d+%d+%d\n", cell * dpi / 72, height * dpi / 72,
                                                   (x0 + c * cell) * dpi / 72, y * dpi / 72 }')
  [ ${#cells[@]} = 3 ] || return 1
  convert page.pgm -crop "${cells[0]}" +repage plus.pgm
  convert page.pgm -crop "${cells[1]}" +repage o.pgm
  convert page.pgm -crop "${cells[2]}" +repage both.pgm
  convert plus.pgm o.pgm -compose darken -composite union.pgm
  local apart one first
  apart=$(compare -metric RMSE union.pgm both.pgm null: 2>&1 | sed -E 's/.*\((.*)\)/\1/')
  one=$(compare -metric RMSE o.pgm both.pgm null: 2>&1 | sed -E 's/.*\((.*)\)/\1/')
  first=$(compare -metric RMSE plus.pgm both.pgm null: 2>&1 | sed -E 's/.*\((.*)\)/\1/')
  echo "  cell against both glyphs: $apart, against one of them: $first, $one"
  awk -v a="$apart" -v b="$one" -v c="$first" 'BEGIN { exit !(a < 0.75 * b && a < 0.75 * c) }'
}

# The bold words of PDF $1, one a line, as pdftohtml marks them.
bold_words() {
  pdftohtml -xml -i -stdout "$1" 2>/dev/null | grep -a -o '<b>[^<]*</b>' |
    sed -E 's/<\/?b>//g; s/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g; s/&#34;/"/g; s/&apos;/\x27/g; s/&amp;/\&/g' |
    tr ' ' '\n' | sed '/^$/d'
}

# Lines of words, blank lines left out: how far pdftotext spaces words
# apart depends on the glyphs around them.
squeezed() { sed -E 's/ +/ /g; s/^ //; s/ $//; /^$/d'; }

# A bullet cell ("+" struck over by "o") holds two glyphs; pdftotext
# sets one of them apart on a line of its own, before the line: joined
# again, the line reads as a pager shows it.
# A grave accent that touches the next glyph pdftotext reads as a mark on
# it.
later_glyph_joined() { sed -E 's/(.)\xCC\x80/`\1/g' | sed -E '/^o$/{N;s/^o\n\+ /o /}; /^\+$/{N;s/^\+\n(o )/\1/;P;D}'; }

# The words of a line-printer text that are overstruck with themselves.
overstruck_words() {
  sed -E 's/_\x08//g' "$1" | grep -a -o -E $'([^ ]\b[^ ])+' | sed -E 's/.\x08//g' | LC_ALL=C sort -u
}

# Man pages formatted for a line printer on this machine, as nroff writes
# them, and ls as groff writes it for a terminal (SGR escapes): the
# printed text is what a pager shows of the line-printer form (col -bx),
# line for line, and the bold words are its overstruck ones.
check_man_pages() {  # tag pages...
  local tag=$1 page report
  shift
  for page in "$@"; do
    report="$tag-man-$page.txt"
    LANG=C LC_ALL=C GROFF_NO_SGR=1 MAN_KEEP_FORMATTING=1 MANWIDTH=80 man -P cat "$page" 2>/dev/null |
      sed 's/$/\r/' >"$report"
    if [ ! -s "$report" ]; then
      fail "no man page $page on this machine"
      continue
    fi
    check_man_print "man $page" "$report" "$report"
  done
  # ls with SGR escapes prints as its line-printer form prints.
  zcat "$(man -w ls)" | GROFF_SGR=1 groff -man -Tascii -rLL=80n 2>/dev/null >"$tag-sgr-ls.txt"
  zcat "$(man -w ls)" | groff -man -Tascii -rLL=80n 2>/dev/null >"$tag-bs-ls.txt"
  print_request -point=10 "$tag-bs-ls.txt"
  pdftotext -layout "${PDFS[0]:-none}" - 2>/dev/null | tr -d '\f' | squeezed >bs-ls.printed
  check_man_print "ls with SGR escapes" "$tag-sgr-ls.txt" "$tag-bs-ls.txt" bs-ls.printed
}

# Checks the PDF of report $2 against line-printer form $3: its text is
# what a pager shows (or text file $4), its bold words the overstruck ones.
check_man_print() {  # name report line-printer-form [text]
  local name=$1 report=$2 pdf
  print_request -point=10 "$report"
  pdf=${PDFS[0]:-none}
  # pdftotext ends each page with a form feed; the report has them too.
  diff <(if [ -n "${4:-}" ]; then cat "$4"; else tr -d '\r\f' <"$3" | col -bx | squeezed; fi) \
    <(pdftotext -layout "$pdf" - 2>/dev/null | tr -d '\f' | squeezed | later_glyph_joined) >"$report.diff"
  check "$name: the printed text is the pager's ($(wc -l <"$report.diff") lines differ)" [ ! -s "$report.diff" ]
  head -6 "$report.diff"
  diff <(overstruck_words "$3") <(bold_words "$pdf" | LC_ALL=C sort -u) >"$report.bold.diff"
  check "$name: the bold words are the overstruck ones ($(wc -l <"$report.bold.diff") differ)" \
    [ ! -s "$report.bold.diff" ]
  head -6 "$report.bold.diff"
}

# One line per script, and the column of the bar after it.
UTF8_LINES=(
  'Deutsch: Müller GmbH, Grüße aus Köln |'  37
  'Français: Où est la fenêtre ? Ça coûte |' 39
  'Polski: Zażółć gęślą jaźń |'             26
  'Ελληνικά: Καλημέρα κόσμε |'              25
  'Русский: Привет, мир |'                  21
  '日本語: 東京の天気 |'                      19
  'Preis: € 5,00 |'                         14
  'Combining: Cafe'$'\u0301'' |'          16
)

check_utf8_reports() {  # tag
  local tag=$1 i words text expected
  {
    printf '%s\r\n' "$RULER"
    for ((i = 0; i < ${#UTF8_LINES[@]}; i += 2)); do printf '%s\r\n' "${UTF8_LINES[i]}"; done
    printf 'Fett: F\bFe\bet\btt\bt \xc3\xa9\b\xc3\xa9 und _\b\xc3\xbc_\bb_\be_\br |\r\n'
  } >"$tag-utf8.txt"
  print_request -point=10 "$tag-utf8.txt"
  text=$(pdftotext -layout "${PDFS[0]:-none}" - 2>/dev/null)
  words=$(grid_words "${PDFS[0]:-none}")
  for ((i = 0; i < ${#UTF8_LINES[@]}; i += 2)); do
    expected=$(sed -E 's/ +/ /g' <<<"${UTF8_LINES[i]}" | uconv_nfc)
    if [[ -n "${TEXT_NOT_BACK:-}" && "${UTF8_LINES[i]}" =~ $TEXT_NOT_BACK ]]; then
      echo "note: the text of '${UTF8_LINES[i]}' does not come back on this host's queue"
      continue
    fi
    check "UTF-8 text back: ${UTF8_LINES[i]}" grep -qF -- "$expected" <<<"$(sed -E 's/ +/ /g' <<<"$text" | uconv_nfc)"
    check "UTF-8: the bar in column ${UTF8_LINES[i + 1]} ($(row_words "$words" $((i / 2 + 1)) | grep -o '[^ ]*$'))" \
      grep -qE " ${UTF8_LINES[i + 1]}:\\|\$" <<<"$(row_words "$words" $((i / 2 + 1)))"
  done
  check "UTF-8 bold and underlined: Fett: Fett é und über |" grep -qF 'Fett: Fett é und über |' <<<"$text"
  check "UTF-8 bold words: Fett é ($(bold_words "${PDFS[0]:-none}" | tr '\n' ' '))" [ "$(bold_words "${PDFS[0]:-none}" | tr '\n' ' ')" = "Fett é " ]

  # The same words in code page 1252, and a box of code page 437 printed
  # with OEM translation, come out as they always have.
  for ((i = 0; i < 4; i += 2)); do printf '%s\r\n' "${UTF8_LINES[i]}"; done | iconv -f UTF-8 -t CP1252 >"$tag-1252.txt"
  printf '\xda\xc4\xc4\xbf caf\x82\r\n\xb3 \x9c \xb3\r\n\xc0\xc4\xc4\xd9\r\n' >"$tag-437.txt"
  print_request -point=10 "$tag-1252.txt" -ansi "$tag-437.txt"
  text=$(pdftotext -layout "${PDFS[0]:-none}" - 2>/dev/null)
  for ((i = 0; i < 4; i += 2)); do
    check "1252: ${UTF8_LINES[i]}" grep -qF -- "${UTF8_LINES[i]}" <<<"$text"
  done
  text=$(pdftotext -layout "${PDFS[1]:-none}" - 2>/dev/null | tr -d '\f' | sed -E 's/ +$//; /^$/d')
  check "437 with -ansi as before: $(tr '\n' '/' <<<"$text")" box_as_before "$text"
}

# The box's corners and lines as the host's OEM translation gives them.
box_as_before() { [ "$(head -1 <<<"$1")" = "+--+ café" ] && grep -q '^. £ .$' <<<"$1"; }

# Combining marks composed, so that "e" and an acute accent read as "é",
# however the PDF reader hands them back: pdftotext may set a mark apart on
# a line of its own, after the line it belongs to.
uconv_nfc() {
  python3 -c 'import re, sys, unicodedata
text = re.sub("\n *([\u0300-\u036f])", "\\1", sys.stdin.read())
sys.stdout.write(unicodedata.normalize("NFC", text))'
}

# Any face keeps the grid: in a proportional face and in one that does not
# exist, a row of i and a row of M put their bar at one x.
check_any_face() {  # tag
  local face ends
  printf 'iiiiiiiiiiiiiiiiiiii|\r\nMMMMMMMMMMMMMMMMMMMM|\r\n' >"$1-faces.txt"
  for face in 'DejaVu Sans' 'No Such Face'; do
    print_request -point=10 "-font=$face" "$1-faces.txt"
    ends=$(pdftotext -bbox -f 1 -l 1 "${PDFS[0]:-none}" - 2>/dev/null |
      sed -n -E 's/.*xMax="([0-9.]+)".*>[^<]*[|]<\/word>/\1/p' | tr '\n' ' ')
    check "$face: both bars end at one x ($ends)" awk -v e="$ends" 'BEGIN { exit !(split(e, x) == 2 && (x[1] - x[2]) ^ 2 < 0.25) }'
  done
}

# Reports as Windows, terminals and DOS write them: byte-order marks and
# UTF-16 take no column; tabs stop every 8 columns (-tabs=N); other
# control characters are blank cells; a Ctrl-Z at the end ends the report.
check_text_forms() {  # tag
  local tag=$1 form words text
  local lines=$'Grüße, Ça coûte 5 € |\r\nNr\tName\tCity\r\nCtl:\x01\x7f|\r\n'
  printf '%s\r\n%s\x1a' "$RULER" "$lines" >"$tag-dos.txt"
  { printf '\xef\xbb\xbf'; cat "$tag-dos.txt"; } >"$tag-bom8.txt"
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$tag-dos.txt"; } >"$tag-bom16le.txt"
  { printf '\xfe\xff'; iconv -f UTF-8 -t UTF-16BE "$tag-dos.txt"; } >"$tag-bom16be.txt"
  print_request -point=10 "$tag-dos.txt" "$tag-bom8.txt" "$tag-bom16le.txt" "$tag-bom16be.txt" \
    -tabs=4 "$tag-dos.txt" -tabs=1 "$tag-dos.txt"
  local -a expected=('0:Nr 8:Name 16:City' '0:Nr 8:Name 16:City' '0:Nr 8:Name 16:City'
    '0:Nr 8:Name 16:City' '0:Nr 4:Name 12:City' '0:Nr 3:Name 8:City')
  for form in 0 1 2 3 4 5; do
    words=$(grid_words "${PDFS[form]:-none}")
    text=$(pdftotext -layout "${PDFS[form]:-none}" - 2>/dev/null | tr -d '\f' | squeezed | tail -n +2)
    check "form $form: the text as written, Ctrl-Z and control characters blank ($(tr '\n' / <<<"$text"))" \
      [ "$text" = $'Grüße, Ça coûte 5 € |\nNr Name City\nCtl: |' ]
    words="$(row_words "$words" 1 | grep -o '[^ ]*$')/$(row_words "$words" 2)/$(row_words "$words" 3)"
    check "form $form: the bar in column 20, tabs at their stops ($words)" \
      [ "$words" = "20:|/${expected[form]}/0:Ctl: 6:|" ]
    check "form $form: control characters drawn blank" cells_blank "${PDFS[form]:-none}" 3 4 6
    check "form $form: nothing drawn for Ctrl-Z" cells_blank "${PDFS[form]:-none}" 4 0 4
  done
}

# True when columns $3 to $4 (not included) of row $2 of PDF $1 show
# nothing; the ruler (row 0) and row 1 give the grid.
cells_blank() {  # pdf row first end
  local crop
  crop=$(pdftotext -bbox -f 1 -l 1 "$1" - 2>/dev/null |
    sed -n -E 's/.*<word xMin="(-?[0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">.*/\1 \2 \3 \4/p' |
    awk -v row="$2" -v a="$3" -v b="$4" 'NR == 1 { x0 = $1; cell = ($3 - $1) / 40; y0 = $2; h = $4 - $2 }
      NR == 2 { printf "-x %d -y %d -W %d -H %d", x0 + a * cell + 1, y0 + row * ($2 - y0) + 1, (b - a) * cell - 2, h - 2 }')
  [ -n "$crop" ] && pdftoppm -r 72 -gray -f 1 -l 1 -singlefile $crop "$1" cells &&
    [ "$(convert cells.pgm -format '%[fx:minima]' info:)" = 1 ]
}

check_report_text() {  # tag
  check_any_face "$1"
  check_text_forms "$1"
  check_overstrike_cells "$1"
  check_utf8_reports "$1"
  check_man_pages "$1" ls tar bash
}
