#!/usr/bin/env bash
# Report text as other programs write it (overstrikes, man pages, UTF-8),
# printed through the Linux library in a virtual machine: the shared
# scenario.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/report_text_checks.sh"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
# The PDF queue turns the library's PDF into PostScript and back, and
# Ghostscript makes the glyphs cairo writes in a CID font (Latin
# Extended-A here) into a Type 3 font without their characters.
TEXT_NOT_BACK='^Polski'
HOST_PRINT=(java -Xcheck:jni -Djava.library.path="$LIBRARY_DIR" -cp "$NATIVE/java" PlenwickPrint)

check_report_text "$TAG"
finish
