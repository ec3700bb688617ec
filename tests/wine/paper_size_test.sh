#!/usr/bin/env bash
# Paper given by width and length comes out in the shape asked for: the
# PDF's page box (in points), turned pages included.
source "$(dirname "$0")/lib.sh"

work_folder
print_via "$WINE_HOST"

# The page's shape as printed: width x height after its rotation.
page_shape() {
  local info width height rotation
  info=$(pdfinfo "$1" 2>/dev/null)
  read -r width height < <(sed -n -E 's/^Page size: +([0-9.]+) x ([0-9.]+).*/\1 \2/p' <<<"$info")
  rotation=$(sed -n -E 's/^Page rot: +([0-9]+)/\1/p' <<<"$info")
  if [ "${rotation:-0}" = 90 ] || [ "${rotation:-0}" = 270 ]; then
    echo "${height%.*} x ${width%.*}"
  else
    echo "${width%.*} x ${height%.*}"
  fi
}

while read -r width length shape what; do
  report="paper_${width}x${length}_$$.txt"
  printf '%s\r\n' "$what" >"$report"
  since=$(last_job_id)
  wine_run "$WINBUILD/plenwick_print.exe" -width="$width" -length="$length" "$report" \
    >host.out 2>&1 || fail "host failed: $(cat host.out)"
  pdf=$(pdfs_titled "$since" "$report" | head -1)
  check "$width x $length in ($what) prints ${shape//_/ }" \
    [ "$(page_shape "${pdf:-none}")" = "${shape//_/ }" ]
done <<'CASES'
8.5 11 612_x_792 Letter
11 8.5 792_x_612 Letter_across
11 17 792_x_1224 Tabloid
17 11 1224_x_792 Ledger
210mm 297mm 595_x_842 A4
297mm 210mm 842_x_595 A4_across
CASES
finish
