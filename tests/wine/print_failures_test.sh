#!/usr/bin/env bash
# What goes wrong on the way to the printer, through the DLL under Wine:
# the scenario every host runs (tests/support/print_failures_checks.sh),
# then a printer that does not exist answered Retry.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/print_failures_checks.sh"
work_folder
print_via "$WINE_HOST"

check_print_failures "$TAG"

# A printer that does not exist: the box names the system's reason; Retry
# prints on the selected printer.
printf 'retried\r\n' >"$TAG-retry.txt"
PLENWICK_ANSWER="Plenwick - Can't Open Printer=retry" print_request -printer_id=Nowhere "$TAG-retry.txt"
check "the box says why" grep -q "box Plenwick - Can't Open Printer: Invalid printer name." host.out
check "Retry prints on the default printer" grep -q retried <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
check "Retry: the line names both printers" grep -qF \
  "plenwick: printer Nowhere cannot be opened (Invalid printer name.); $TAG-retry.txt goes to PDF" host.out

finish
