#!/usr/bin/env bash
# Pages of generated reports held to a model of the pagination rules,
# printed through the Linux library in a virtual machine: the shared
# scenario (tests/support/pagination_property_checks.sh).
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/pagination_property_checks.sh"
work_folder

check_pagination_property "$TAG"
finish
