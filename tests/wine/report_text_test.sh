#!/usr/bin/env bash
# Report text as other programs write it (overstrikes, man pages, UTF-8),
# printed through the DLL under Wine: the shared scenario.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/report_text_checks.sh"

work_folder
print_via "$WINE_HOST"
# Wine's PostScript driver takes each glyph from the selected face alone,
# without the font fallback of Windows: CJK text prints as missing-glyph
# boxes in its columns.
TEXT_NOT_BACK='^日本語'

check_report_text "$TAG"
finish
