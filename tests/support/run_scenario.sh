#!/usr/bin/env bash
# A shared scenario that a host runs with nothing of its own, as a row of the
# host's CMake list names it: tests/support/SCENARIO_checks.sh's
# check_SCENARIO in a work folder, on the host of tests/HOST/lib.sh, with the
# host's notes for it (NAME=VALUE, such as TEXT_NOT_BACK) set first.
host=$1 scenario=$2
shift 2
source "${PLENWICK_ROOT:?}/tests/$host/lib.sh"
source "$ROOT/tests/support/${scenario}_checks.sh"
work_folder
[ "$host" = linux ] || print_via "$WINE_HOST"
for note in "$@"; do printf -v "${note%%=*}" '%s' "${note#*=}"; done
"check_$scenario" "$TAG"
finish
