#!/usr/bin/env bash
# Report files printed through the real DLL, as the Java side calls it,
# on the CUPS "PDF" printer: the scenario every host runs
# (tests/support/print_reports_checks.sh).
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/print_reports_checks.sh"
work_folder
print_via "$WINE_HOST"

check_print_reports "$TAG"

finish
