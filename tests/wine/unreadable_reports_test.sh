#!/usr/bin/env bash
# Reports that cannot be read whole, printed through the DLL under Wine:
# the shared scenario (a FIFO, /dev/zero, a report replaced while it
# prints), and the names of Windows devices.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/unreadable_report_checks.sh"

work_folder
print_via "$WINE_HOST"

check_unreadable_reports "$TAG"

# The console, the null device, a serial port and a pipe are no reports:
# refused before anything is opened, and the request goes on.
printf 'after the devices\r\n' >"$TAG-after.txt"
since=$(last_job_id)
print_logged devices.log -point=10 CON NUL nul.txt COM1 '\\.\pipe\reports' "$TAG-after.txt"
check "devices: the request returns" request_returned $? devices.log.out
for device in CON NUL nul.txt COM1 '\\.\pipe\reports'; do
  check "devices: $device is refused" grep -qF "lopen($device) failed because of error 5" devices.log
done
check "devices: the report after them printed" [ -n "$(pdfs_titled "$since" "$TAG-after.txt")" ]

finish
