#!/usr/bin/env bash
# The ZIP of a Windows tree holds the DLL (with its nine exports), the Java
# class, the note and the options reference, under PLENWICKDLL-<version>-win32 or -win64.
set -uo pipefail
tree=${1:?build tree}
system=${2:?win32 or win64}
rm -rf "$tree/package"
if ! (cd "$tree" && cpack -G ZIP >/dev/null); then
  echo "FAIL: packing the $system DLL failed"
  exit 1
fi
zip=$(ls "$tree"/package/PLENWICKDLL-*.zip)
top=$(basename "$zip" .zip)
names=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unzip -q "$zip" "$top/PLENWICKDLL.dll" -d "$dir"
if [[ "$top" == PLENWICKDLL-*-"$system" ]] &&
    [ "$names" = "$(printf '%s\n' "$top/PLENWICKDLL.dll" "$top/README.txt" "$top/java/doc/NativeWindows.java" "$top/options.md" | sort)" ] &&
    [ "$(objdump -p "$dir/$top/PLENWICKDLL.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        grep -c -E '^\s*\[ *[0-9]+\] ')" = 9 ]; then
  echo "ok: $zip"
else
  echo "FAIL: $zip does not hold what it should:"
  unzip -l "$zip"
  exit 1
fi
