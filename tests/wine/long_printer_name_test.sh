#!/usr/bin/env bash
# A printer whose name is longer than the device mode's 31-character
# device-name field prints, whether the job names it or it is the default
# printer. The queue is this test's own, made and removed here.
source "$(dirname "$0")/lib.sh"

work_folder
QUEUE="Plenwick_Accounting_Floor3_HP_LaserJet_4250_PCL6_$$"
own_queue pdf "$QUEUE"
check "queue with a ${#QUEUE}-character name exists" lpstat -p "$QUEUE"

# Prints $1 with the other arguments; the PDF of its document must hold its
# text.
prints() {  # report what [env...] -- [host arguments...]
  local report=$1 what=$2 since pdf
  shift 2
  printf 'Accounting %s total 42\r\n' "$what" >"$report"
  since=$(last_job_id)
  # Bounded: once, in a loaded run, the host never ended (a box waiting
  # for its user?); its output then says what it was doing.
  env PLENWICK_DEBUG="$WORK/$report.log" "$@" timeout 100 "$ROOT/scripts/wine-run" \
    "$WINBUILD/plenwick_print.exe" -point=10 "${PRINT_ARGS[@]}" "$report" >host.out 2>&1 ||
    fail "$what: host failed: $(cat host.out; tail -5 "$WORK/$report.log")"
  pdf=$(pdfs_on_queue "$since" "$QUEUE" "$report" | head -1)
  check "$what: a PDF is written" [ -n "$pdf" ]
  check "$what: it holds the report" grep -q "Accounting $what total 42" \
    <<<"$(pdf_page_text "${pdf:-none}" 1)"
}

print_via "$WINE_HOST"
PRINT_ARGS=(-printer_id="$QUEUE")
prints "named_$$.txt" "named by the job"
# The default printer for this process only: CUPS takes LPDEST as the
# default destination, and Wine takes CUPS's default. The system's default
# stays "PDF" for everyone else.
PRINT_ARGS=()
prints "default_$$.txt" "default printer" LPDEST="$QUEUE"
# The printer-name query answers that default whole, not cut to the device
# mode's field, so that the name opens the printer again.
env LPDEST="$QUEUE" PLENWICK_LONG_PRINTER="$QUEUE" timeout 100 "$ROOT/scripts/wine-run" \
  "$WINBUILD/wine_tests.exe" --gtest_filter=WinePrinterSelection.LongPrinterNameIsAnsweredWhole >name.out 2>&1
check "the printer-name query answers the whole name" \
  grep -q "OK \] WinePrinterSelection.LongPrinterNameIsAnsweredWhole" name.out
grep -q "OK \] WinePrinterSelection" name.out || tail -20 name.out >&2
check "the system default is still PDF" bash -c 'lpstat -d | grep -q ": PDF$"'
finish
