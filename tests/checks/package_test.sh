#!/usr/bin/env bash
# The ZIP of a Windows tree holds the DLL (with its nine exports), the
# console printer, the Java class, the note and the options reference, under
# PLENWICKDLL-<version>-win32 or -win64; and the console printer, run from
# the unpacked ZIP under Wine, loads the DLL beside it and prints.
#
#   package_test.sh TREE win32|win64
source "$(dirname "$0")/../wine/lib.sh"
tree=${1:?build tree}
system=${2:?win32 or win64}

work_folder
rm -rf "$tree/package"
if ! (cd "$tree" && cpack -G ZIP >/dev/null); then
  fail "packing the $system DLL failed"
  finish
fi
zip=$(ls "$tree"/package/PLENWICKDLL-*.zip)
top=$(basename "$zip" .zip)
names=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(printf '%s\n' "$top/PLENWICKDLL.dll" "$top/plenwick_print.exe" "$top/README.txt" \
  "$top/java/doc/NativeWindows.java" "$top/options.md" | sort)
check "$(basename "$zip") is named for $system" grep -qx "PLENWICKDLL-.*-$system" <<<"$top"
check "it holds the DLL, the console printer, the class, the note and the options reference" \
  [ "$names" = "$expected" ] || diff <(echo "$expected") <(echo "$names")

mkdir unpacked
unzip -q "$zip" -d unpacked
dll="unpacked/$top/PLENWICKDLL.dll"
check "the DLL has its nine exports" [ "$(objdump -p "$dll" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -c -E '^\s*\[ *[0-9]+\] ')" = 9 ]
check "the note tells of the console printer" grep -q 'plenwick_print --help' "unpacked/$top/README.txt"

# The console printer of the unpacked ZIP, with the DLL beside it and no
# other on its path.
print_via "$WINE_HOST" "$PWD/unpacked/$top/plenwick_print.exe"
check_console_printer "$TAG"
finish
