#!/usr/bin/env bash
# Report text as other programs write it (overstrikes, man pages, UTF-8),
# printed through the Linux library in a virtual machine: the shared
# scenario.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/report_text_checks.sh"

work_folder
check_report_text "$TAG"
finish
