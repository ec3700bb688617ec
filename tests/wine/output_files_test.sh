#!/usr/bin/env bash
# Reports to files through the DLL under Wine (DOCINFO.lpszOutput, which
# Wine's PostScript driver fills with PostScript): the shared scenario.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/output_file_checks.sh"

work_folder
print_via "$WINE_HOST"
check_output_files "$TAG"
finish
