#!/usr/bin/env bash
# The DLL exports exactly nine names: the two window procedures under their
# plain names and the seven JNI entry points under the names a virtual
# machine of the DLL's architecture looks for: decorated on 32-bit Windows,
# plain on 64-bit Windows. The file is a PE32 or PE32+ image to match.
source "$(dirname "$0")/lib.sh"

headers=$(objdump -p "$WINBUILD/PLENWICKDLL.dll")
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
  sed -n -E 's/^\s*\[ *[0-9]+\] +//p' | sort)

jni_names() {  # prefix: the seven entry points with their argument bytes
  sed -E "s/^/$1/" <<'NAMES'
getver@8
get_1printer_1name@8
plenwick_1setup@8
plenwick@12
shellexec@12
launch_1document@16
read_1registry_1string@20
NAMES
}

case "${PLENWICK_ARCH:?}" in
  i686)
    check "a PE32 image for i386" grep -q -E 'file format pei-i386' <<<"$headers"
    check "PE32 magic" grep -q -E '^Magic\s+010b' <<<"$headers"
    jni=$(jni_names _Java_doc_NativeWindows_)
    ;;
  x86-64)
    check "a PE32+ image for x86-64" grep -q -E 'file format pei-x86-64' <<<"$headers"
    check "PE32+ magic" grep -q -E '^Magic\s+020b' <<<"$headers"
    jni=$(jni_names Java_doc_NativeWindows_ | sed -E 's/@[0-9]+$//')
    ;;
esac
expected=$(printf 'AbrtDlgP\nAbrtProc\n%s\n' "$jni" | sort)

check "nine export names" test "$(wc -l <<<"$exports")" -eq 9
check "the expected names" test "$exports" = "$expected"
[ "$exports" = "$expected" ] || diff <(echo "$expected") <(echo "$exports") >&2
finish
