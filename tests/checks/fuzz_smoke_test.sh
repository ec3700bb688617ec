#!/usr/bin/env bash
# A short run of one fuzz target over its corpus: a bounded number of runs
# (the wall clock of a virtual machine may jump, so -max_total_time alone is
# no bound; timeout is the last resort). Whole print requests write their
# files for every input: fewer runs keep them as short as the others.
set -uo pipefail
target=${1:?fuzz target}
corpus=${2:?corpus folder}
name=$(basename "$target")
runs="${FUZZ_RUNS:-50000}"
[ "$name" = fuzz_print_request ] && runs="${FUZZ_REQUEST_RUNS:-5000}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
cd "$work" || exit 1
timeout 300 "$target" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -max_len=4096 corpus "$corpus"
