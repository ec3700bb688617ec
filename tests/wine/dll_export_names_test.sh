#!/usr/bin/env bash
# The DLL exports exactly nine names: the two window procedures under their
# plain names and the seven JNI entry points under their decorated names.
source "$(dirname "$0")/lib.sh"

exports=$(i686-w64-mingw32-objdump -p "$WINBUILD/PLENWICKDLL.dll" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n -E 's/^\s*\[ *[0-9]+\] +//p' | sort)
expected=$(sort <<'NAMES'
AbrtDlgP
AbrtProc
_Java_doc_NativeWindows_getver@8
_Java_doc_NativeWindows_get_1printer_1name@8
_Java_doc_NativeWindows_plenwick_1setup@8
_Java_doc_NativeWindows_plenwick@12
_Java_doc_NativeWindows_shellexec@12
_Java_doc_NativeWindows_launch_1document@16
_Java_doc_NativeWindows_read_1registry_1string@20
NAMES
)
check "nine export names" test "$(wc -l <<<"$exports")" -eq 9
check "the expected names" test "$exports" = "$expected"
[ "$exports" = "$expected" ] || diff <(echo "$expected") <(echo "$exports") >&2
finish
