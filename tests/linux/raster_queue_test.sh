#!/usr/bin/env bash
# A raster printer (the generic PCL laser PPD): CUPS paints the library's
# PDF at the printer's resolution; the printer receives a PCL page per page.
source "$(dirname "$0")/queue_kinds.sh"

make_report "$TAG-queue.txt"
QUEUE="plenwick-pcl-$$"
start_socket_printer "$WORK/printer"
own_queue pcl "$QUEUE" "$PRINTER_URI"
print_on "$QUEUE" "$TAG-queue.txt"
wait_until 10 test -e "$WORK/printer/job-1"
pcl="$WORK/printer/job-1"
check "PCL arrived" [ -s "$pcl" ]
# Each page's raster graphics end with ESC * r 0 B.
check "PCL: three pages" [ "$(grep -a -o $'\e\\*r0B' "$pcl" 2>/dev/null | wc -l)" = 3 ]
finish
