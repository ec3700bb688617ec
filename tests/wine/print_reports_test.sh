#!/usr/bin/env bash
# Report files printed through the real DLL, as the Java side calls it,
# on the CUPS "PDF" printer: the scenario every host runs
# (tests/support/print_reports_checks.sh), then the box of a printer that
# does not exist and SCRATCH.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/print_reports_checks.sh"
work_folder
print_via "$WINE_HOST"

check_print_reports "$TAG"

# A printer that does not exist: the box names the system's reason; Retry
# prints on the selected printer.
printf 'retried\r\n' >"$TAG-retry.txt"
PLENWICK_ANSWER="Plenwick - Can't Open Printer=retry" print_request -printer_id=Nowhere "$TAG-retry.txt"
check "the box says why" grep -q "box Plenwick - Can't Open Printer: Invalid printer name." host.out
check "Retry prints on the default printer" grep -q retried <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
check "Retry: the line names both printers" grep -qF \
  "plenwick: printer Nowhere cannot be opened (Invalid printer name.); $TAG-retry.txt goes to PDF" host.out

# SCRATCH: a printed report goes, with its configuration file; a report
# whose printer was given up on stays.
printf -- '-disposition=scratch\n' >job.cfg
printf 'scratch me\r\n' >"$TAG-gone.txt"
print_request -config=job.cfg "$TAG-gone.txt"
check "printed report deleted" [ ! -e "$TAG-gone.txt" ]
check "configuration file deleted" [ ! -e job.cfg ]
check "it was printed" grep -q 'scratch me' <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"
check_unknown_printer "$TAG"

finish
