#!/usr/bin/env bash
# The C and C++ sources are laid out as .clang-format says, so a change
# shows only what it changes. Prints the files that are not, and fails.
set -uo pipefail
ROOT="${PLENWICK_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)}"
cd "$ROOT" || exit 1
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c' 2>/dev/null)
[ ${#files[@]} -gt 0 ] || { echo "no sources found under $ROOT"; exit 1; }
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'not formatted (clang-format -i FILE): %s\n' "${unformatted[@]}"
  exit 1
fi
echo "${#files[@]} sources formatted"
