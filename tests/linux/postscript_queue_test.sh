#!/usr/bin/env bash
# PostScript printers with the generic PostScript PPD: on a device that
# discards the job, and on a network printer whose PostScript is read back.
source "$(dirname "$0")/queue_kinds.sh"

make_report "$TAG-queue.txt"

QUEUE="plenwick-ps-null-$$"
own_queue ps "$QUEUE"
print_on "$QUEUE" "$TAG-queue.txt"

QUEUE="plenwick-ps-$$"
start_socket_printer "$WORK/printer"
own_queue ps "$QUEUE" "$PRINTER_URI"
print_on "$QUEUE" "$TAG-queue.txt"
wait_until 10 test -e "$WORK/printer/job-1"
ps="$WORK/printer/job-1"
check "PostScript arrived" bash -c "head -c 4 '$ps' 2>/dev/null | grep -q '%!PS'"
check "PostScript: the text reads back from the PostScript" \
  bash -c "ps2ascii '$ps' 2>/dev/null | grep -q 'page 2 row 17 of the queue report'"
ps2pdf "$ps" "$WORK/printed.pdf" 2>/dev/null
check_document "PostScript" "$WORK/printed.pdf"

# The title goes into the PostScript as one line of at most 255 bytes: a
# longer report name (a path of 300 bytes) is cut there, and the report
# still prints.
folder="$(printf 'folder%.0s' $(seq 25))"
mkdir -p "$folder"
long="$folder/$TAG-$(printf 'long%.0s' $(seq 35)).txt"
cp "$TAG-queue.txt" "$long"
print_on "$QUEUE" "$long"
wait_until 10 test -e "$WORK/printer/job-2"
check "a long title: the report printed" \
  bash -c "ps2ascii '$WORK/printer/job-2' 2>/dev/null | grep -q 'page 3 row 40 of the queue report'"
finish
