#!/usr/bin/env bash
# Reports that cannot be read whole, printed through the Linux library in
# a virtual machine: a FIFO, /dev/zero, a report replaced while it prints
# (the shared scenario), and a disk that fails part way through a report.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/unreadable_report_checks.sh"

work_folder
# The library prints a 113-page report in a fraction of a second: read
# slowly, it is still printing when the test replaces it.
SLOW_READS=(LD_PRELOAD="$NATIVE/libdisk_faults.so" DISK_FAULTS_PATH="$TAG-replaced.txt" DISK_FAULTS_READ_DELAY_MS=100)

check_unreadable_reports "$TAG"

# A read that fails with EIO after 640 KiB of a 300-page report, as a
# damaged block does: the document is abandoned (nothing of it prints),
# the box says why, SCRATCH keeps the report, and the next one prints.
numbered_lines 1 30000 >"$TAG-damaged.txt"
printf 'next\r\n' >"$TAG-next.txt"
since=$(last_job_id)
PRINT_ENV=(LD_PRELOAD="$NATIVE/libdisk_faults.so" DISK_FAULTS_PATH="$TAG-damaged.txt" DISK_FAULTS_FAIL_AFTER=655360)
print_logged damaged.log -disposition=scratch -point=10 "$TAG-damaged.txt" "$TAG-next.txt"
check "damaged: the request returns" [ $? -eq 0 ]
check "damaged: the box says why" grep -q "Reading $TAG-damaged.txt failed; it was not printed. The system cannot read from the specified device." damaged.log.out
check "damaged: the log says why" grep -q "Reading $TAG-damaged.txt failed - exiting" damaged.log
check "damaged: the report is kept" [ -e "$TAG-damaged.txt" ]
check "damaged: the next report printed" [ -n "$(pdfs_titled "$since" "$TAG-next.txt")" ]
check "damaged: nothing of it printed" [ -z "$(pdfs_titled "$since" "$TAG-damaged.txt")" ]

finish
