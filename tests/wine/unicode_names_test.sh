#!/usr/bin/env bash
# Report names the ANSI code page (1252) cannot spell, and a long path,
# through the real DLL (tests/support/print_reports_checks.sh).
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/print_reports_checks.sh"
work_folder
print_via "$WINE_HOST"

check_unicode_names "$TAG"

finish
