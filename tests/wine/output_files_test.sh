#!/usr/bin/env bash
# Reports to files through the DLL under Wine (DOCINFO.lpszOutput, which
# Wine's PostScript driver fills with PostScript): the shared scenario.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/output_file_checks.sh"

work_folder
print_via "$WINE_HOST"
# 32-bit Wine's PostScript driver hands its spooler an empty output name
# for an absolute one (StartDocPrinterW gets L""; a relative name works)
# and its EndDoc returns 0: the library tells the report not printed and
# keeps it, but no file can come. The name stays absolute, as Windows'
# spooler, in a folder of its own, needs it.
[ "$WINE_HOST" = wine32 ] && { echo "skipped: 32-bit Wine writes no output file"; exit 0; }
check_output_files "$TAG"
finish
