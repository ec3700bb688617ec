#!/usr/bin/env bash
# Pages of generated reports held to a model of the pagination rules,
# printed through the DLL under Wine: the shared scenario
# (tests/support/pagination_property_checks.sh).
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/pagination_property_checks.sh"
work_folder
print_via "$WINE_HOST"

check_pagination_property "$TAG"
finish
