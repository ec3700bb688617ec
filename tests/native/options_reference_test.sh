#!/usr/bin/env bash
# docs/options.md names every option of the table in
# src/options/option_table.cpp, in a row of its options table ("| `-name` |"),
# and names no option the table lacks. The check passes on the files as they
# are, and fails on copies of the reference with a row taken out or one
# added, naming the option.
PLENWICK_ROOT=${PLENWICK_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)}
source "$PLENWICK_ROOT/tests/support/kit.sh"

table_names() { grep -oE '\{kOpt[A-Za-z]+, *"[a-z_]+"' "$1" | sed -E 's/.*"([a-z_]+)"/\1/' | sort -u; }
reference_names() { grep -oE '^\| *`-[a-z_]+`' "$1" | sed -E 's/^\| *`-//; s/`$//' | sort -u; }

# Prints what is wrong and fails, or passes silently.
same_names() {  # TABLE REFERENCE
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

work_folder
TABLE="$PLENWICK_ROOT/src/options/option_table.cpp"
DOC="$PLENWICK_ROOT/docs/options.md"
check "docs/options.md names the $(table_names "$TABLE" | wc -l) options of the table" same_names "$TABLE" "$DOC"

# name # sed script applied to a copy of the reference # what the check must say
while IFS='#' read -r name script expected; do
  sed -E "$script" "$DOC" >options.md
  expect_fault "$name" "$expected" same_names "$TABLE" options.md
done <<'CASES'
row of copies removed#/^\| `-copies`/d#the reference misses -copies
row of raw removed#/^\| `-raw`/d#the reference misses -raw
row of length removed#/^\| `-length`/d#the reference misses -length
an option the table lacks#/^\| `-raw`/p; s/^\| `-raw`/| `-duplex`/#names -duplex, which the table lacks
CASES
finish
