#!/usr/bin/env bash
# A report written in the system's own code page prints as that system
# reads it, on Windows outside Western Europe too: each locale's reports are
# printed through the DLL under Wine in that locale, whose ANSI and OEM code
# pages Wine takes from LANG. The -ansi and -oem translations use the
# system's own OEM and ANSI pair. Each locale has a Wine prefix of its own
# in the build tree: a prefix keeps the locale it was made in.
source "$(dirname "$0")/lib.sh"

PREFIXES=()
work_folder
on_exit 'for prefix in "${PREFIXES[@]}"; do WINEPREFIX="$prefix" wineserver -k 2>/dev/null; done'
print_via "$WINE_HOST"

# Runs a command in locale $LOCALE and its prefix $PREFIX.
in_locale() { LANG="$LOCALE" LC_ALL="$LOCALE" WINEPREFIX="$PREFIX" "$@" </dev/null; }

# Prints report $1 with options $2...; echoes the first row of its text.
print_first_row() {
  local report=$1 since pdf
  shift
  since=$(last_job_id)
  in_locale "$ROOT/scripts/wine-run" "$WINBUILD/plenwick_print.exe" "$@" "$report" >host.out 2>&1 ||
    fail "print host failed for $report: $(cat host.out)"
  pdf=$(pdfs_titled "$since" "$report" | head -1)
  [ -n "$pdf" ] || { fail "no PDF titled $report"; return; }
  pdf_page_text "$pdf" 1 | sed -e 's/^ *//' -e 's/ *$//' | grep -m1 .
}

# Checks that what printed ($2) is $3, and shows it when not.
printed() {
  if [ "$2" = "$3" ]; then echo "ok: $1"; else fail "$1: printed '$2', not '$3'"; fi
}

# Writes the UTF-8 text $1 in code page $2 as a one-line report $3.
report_in() { printf '%s\r\n' "$1" | iconv -f UTF-8 -t "$2" >"$3"; }

# locale | ANSI | OEM | text | a word of it whose OEM bytes are ANSI characters too
while IFS='|' read -r -u 3 LOCALE ansi oem text word; do
  PREFIX="$WINBUILD/wineprefix-${LOCALE%%.*}"
  PREFIXES+=("$PREFIX")
  if [ ! -f "$PREFIX/system.reg" ]; then
    echo "creating the Wine prefix $PREFIX"
    in_locale env WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  fi
  tag="${LOCALE%%.*}_$$"

  report_in "$text" "$ansi" "${tag}_ansi.txt"
  printed "$LOCALE: a $ansi report" "$(print_first_row "${tag}_ansi.txt")" "$text"
  report_in "$text" "$oem" "${tag}_oem.txt"
  printed "$LOCALE: a $oem report with -ansi" "$(print_first_row "${tag}_oem.txt" -ansi)" "$text"
  # -oem hands OEM bytes to a font that reads the ANSI code page.
  report_in "$word" "$ansi" "${tag}_to_oem.txt"
  printed "$LOCALE: -oem draws the $oem bytes in $ansi" "$(print_first_row "${tag}_to_oem.txt" -oem)" \
    "$(printf %s "$word" | iconv -f UTF-8 -t "$oem" | iconv -f "$ansi" -t UTF-8)"

  # Java text crosses the bridge in the same code page: the suite's text
  # case runs (not skips) in this locale.
  in_locale "$ROOT/scripts/wine-run" "$WINBUILD/wine_tests.exe" \
    --gtest_filter='WineNativeMethods.ReadRegistryStringConvertsTheText' >bridge.out 2>&1
  if grep -q '^\[  PASSED  \] 1 test' bridge.out; then
    echo "ok: $LOCALE: Java text crosses in $ansi"
  else
    fail "$LOCALE: Java text crosses in $ansi: $(tr -d '\r' <bridge.out)"
  fi
done 3<<'EOF'
ru_RU.UTF-8|CP1251|CP866|Привет мир|Привет мир
pl_PL.UTF-8|CP1250|CP852|Zażółć gęślą jaźń|jaźń
EOF
finish
