#!/usr/bin/env bash
# An IPP Everywhere printer (ippeveprinter on the loopback interface) with a
# queue made "-m everywhere": the PDF it receives keeps the text.
source "$(dirname "$0")/queue_kinds.sh"

make_report "$TAG-queue.txt"
QUEUE="plenwick-ipp-$$"
start_kept_ipp_printer "$WORK/printer"
check "the IPP Everywhere printer answers" ipptool -q "$PRINTER_URI" get-printer-attributes.test
own_queue ipp "$QUEUE" "$PRINTER_URI"
print_on "$QUEUE" "$TAG-queue.txt"
wait_until 10 compgen -G "$WORK/printer/*.pdf" >/dev/null
pdf=$(ls "$WORK"/printer/*.pdf 2>/dev/null | head -1)
check_document "IPP Everywhere" "${pdf:-none}"
# A transparency group would make a printer that renders the PDF paint
# every page as a picture.
qpdf --qdf --object-streams=disable "${pdf:-none}" "$WORK/plain.pdf" 2>/dev/null
check "IPP Everywhere: no page is a transparency group" \
  [ "$(grep -a -c '/S /Transparency' "$WORK/plain.pdf" 2>/dev/null)" = 0 ]
finish
