#!/usr/bin/env bash
# The DLL imports system DLLs only: the C and C++ runtimes are linked in.
set -uo pipefail
dll=${1:?DLL}
others=$(objdump -p "$dll" | grep 'DLL Name:' |
  grep -v -i -E 'DLL Name: ((kernel32|user32|gdi32|comdlg32|shell32|advapi32|ole32|msvcrt)\.dll|winspool\.drv)$')
if [ -n "$others" ]; then
  echo "FAIL: $dll imports a DLL that is not a system DLL:"
  echo "$others"
  exit 1
fi
echo "ok: $dll imports system DLLs only"
