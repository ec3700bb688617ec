#!/usr/bin/env bash
# Reports to files through the Linux library in a virtual machine: the
# shared scenario, and with no print server at all (the library writes its
# PDF on the system's paper; printer_outage_test asks the printer's name
# with none).
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/output_file_checks.sh"

work_folder
check_output_files "$TAG"

numbered_lines 1 3 >"$TAG-alone.txt"
CUPS_SERVER="$WORK/no-server" PAPERSIZE=letter print_request -output=alone.pdf "$TAG-alone.txt"
check "no print server: the PDF written, on the system's Letter" [ "$(page_size alone.pdf)" = "612 x 792" ]
finish
