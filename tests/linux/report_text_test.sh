#!/usr/bin/env bash
# Report text as other programs write it (overstrikes, man pages, UTF-8),
# printed through the Linux library in a virtual machine: the shared
# scenario.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/report_text_checks.sh"

work_folder
# The PDF queue turns the library's PDF into PostScript and back, and
# Ghostscript makes the glyphs cairo writes in a CID font (Latin
# Extended-A, and Greek and Cyrillic placed glyph by glyph) into a Type 3
# font without their characters.
TEXT_NOT_BACK='^(Polski|Ελληνικά|Русский)'

check_report_text "$TAG"
finish
