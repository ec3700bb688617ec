#!/usr/bin/env bash
# A cups-pdf queue made with the system's defaults: CUPS turns the
# library's PDF into PostScript with its default renderer (Ghostscript)
# before cups-pdf makes a PDF of it again.
source "$(dirname "$0")/queue_kinds.sh"

QUEUE="plenwick-cups-pdf-$$"
own_queue pdf "$QUEUE"
make_report "$TAG-queue.txt"
print_on "$QUEUE" "$TAG-queue.txt"
pdf=$(completed_jobs_after "$JOB_SINCE" "$QUEUE" | awk 'NF == 3 { print $3 }' | tail -1)
check_document "cups-pdf" "${pdf:-none}"
check "cups-pdf: the faces are DejaVu Sans Mono" bash -c "pdffonts '${pdf:-none}' | grep -q DejaVuSansMono"
finish
