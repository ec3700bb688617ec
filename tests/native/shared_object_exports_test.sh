#!/usr/bin/env bash
# libPLENWICKDLL.so exports exactly nine names, as the DLL does: the seven
# native methods and the two dialog procedures. Nothing of what it links in
# (a platform, the C++ library's templates) may show, and it links no
# toolkit.
set -uo pipefail
library=${1:?the shared object}
exports=$(nm -D --defined-only "$library" | awk '{ print $3 }' | sort)
expected=$(sort <<'NAMES'
AbrtDlgP
AbrtProc
Java_doc_NativeWindows_getver
Java_doc_NativeWindows_get_1printer_1name
Java_doc_NativeWindows_plenwick_1setup
Java_doc_NativeWindows_plenwick
Java_doc_NativeWindows_shellexec
Java_doc_NativeWindows_launch_1document
Java_doc_NativeWindows_read_1registry_1string
NAMES
)
if [ "$exports" != "$expected" ]; then
  echo "exports of $library differ:"
  diff <(echo "$expected") <(echo "$exports")
  exit 1
fi
echo "nine exports"
# A toolkit in the library would be set up a second time beside the one a
# Java application runs: the dialogs are the dialog program's.
toolkits=$(ldd "$library" | grep -E -i 'gtk|gdk' || true)
if [ -n "$toolkits" ]; then
  echo "$library links a toolkit:"
  echo "$toolkits"
  exit 1
fi
echo "no toolkit linked"
