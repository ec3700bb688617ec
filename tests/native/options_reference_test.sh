#!/usr/bin/env bash
# docs/options.md names every option of the table in
# src/options/option_table.cpp, in a row of its options table ("| `-name` |"),
# and names no option the table lacks. The check passes on the files as they
# are, and fails on copies of the reference with a row taken out or one
# added, naming the option.
#
#   options_reference_test.sh [TABLE REFERENCE]
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

table_names() { grep -oE '\{kOpt[A-Za-z]+, *"[a-z_]+"' "$1" | sed -E 's/.*"([a-z_]+)"/\1/' | sort -u; }
reference_names() { grep -oE '^\| *`-[a-z_]+`' "$1" | sed -E 's/^\| *`-//; s/`$//' | sort -u; }

# Prints what is wrong and fails, or passes silently.
check() {  # TABLE REFERENCE
  local table reference status=0
  table=$(table_names "$1")
  reference=$(reference_names "$2")
  if [ "$(wc -l <<<"$table")" -lt 2 ]; then
    echo "no option names read from $1"
    return 1
  fi
  while read -r name; do
    [ -n "$name" ] && echo "the reference misses -$name" && status=1
  done < <(comm -23 <(echo "$table") <(echo "$reference"))
  while read -r name; do
    [ -n "$name" ] && echo "the reference names -$name, which the table lacks" && status=1
  done < <(comm -13 <(echo "$table") <(echo "$reference"))
  return $status
}

if [ $# -eq 2 ]; then
  check "$1" "$2"
  exit
fi

failures=0
TABLE="$ROOT/src/options/option_table.cpp"
DOC="$ROOT/docs/options.md"
if output=$(check "$TABLE" "$DOC"); then
  echo "ok: docs/options.md names the $(table_names "$TABLE" | wc -l) options of the table"
else
  echo "FAIL: docs/options.md and the option table differ:"
  echo "$output"
  failures=$((failures + 1))
fi

# name # sed script applied to a copy of the reference # what the check must say
while IFS='#' read -r name script expected; do
  sed -E "$script" "$DOC" >"$work/options.md"
  if output=$(check "$TABLE" "$work/options.md"); then
    echo "FAIL: $name: the check passed"
    failures=$((failures + 1))
  elif ! grep -qF -- "$expected" <<<"$output"; then
    echo "FAIL: $name: expected \"$expected\", got:"
    echo "$output"
    failures=$((failures + 1))
  else
    echo "ok: $name"
  fi
done <<'CASES'
row of copies removed#/^\| `-copies`/d#the reference misses -copies
row of raw removed#/^\| `-raw`/d#the reference misses -raw
row of length removed#/^\| `-length`/d#the reference misses -length
an option the table lacks#/^\| `-raw`/p; s/^\| `-raw`/| `-duplex`/#names -duplex, which the table lacks
CASES
exit $((failures > 0))
