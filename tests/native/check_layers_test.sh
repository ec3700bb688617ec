#!/usr/bin/env bash
# The layering check passes on the sources as they are, and fails, naming the
# file and line, on each kind of fault planted in a copy of them.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
CHECK="$ROOT/scripts/check_layers"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

if ! output=$("$CHECK" "$ROOT/src" "$ROOT/tests/simwin"); then
  echo "FAIL: the sources break the layering:"
  echo "$output"
  failures=$((failures + 1))
fi

# name | file to plant in (under src/, or simwin/ for the simulated Windows) |
# line to append | what the check must say
while IFS='|' read -r name file line expected; do
  rm -rf "$work/src" "$work/simwin"
  cp -r "$ROOT/src" "$work/src"
  cp -r "$ROOT/tests/simwin" "$work/simwin"
  case "$file" in
    simwin/*) planted="$work/$file" ;;
    *) planted="$work/src/$file" ;;
  esac
  mkdir -p "$(dirname "$planted")"
  echo "$line" >>"$planted"
  if output=$("$CHECK" "$work/src" "$work/simwin"); then
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
core climbs to render|core/fixed_text.h|#include "render/page_loop.h"|core/fixed_text.h:37: includes render/page_loop.h: climbs from core/ up to render/
render climbs to request|render/overstrike.cpp|#include "request/print_request.h"|climbs from render/ up to request/
options includes its peer render|options/option_table.cpp|#include "render/overstrike.h"|options/ may not include its peer render/
simwin knows the library|simwin/gdi.cpp|#include "core/debug_log.h"|the platform includes the library
linux includes simwin|platform/linux/kernel.cpp|#include "simwin/control.h"|one platform includes another
the library sees a platform's parts|render/page_loop.cpp|#include "simwin/control.h"|the library includes a platform's own parts
the dialog program knows the library|dialog_program/main.cpp|#include "core/debug_log.h"|the program dialog_program/ includes more than the shared platform parts
the dialog program sees the Linux platform|dialog_program/main.cpp|#include "platform/linux/font.h"|the program dialog_program/ includes more than the shared platform parts
the library includes the dialog program|render/page_loop.cpp|#include "dialog_program/dialogs.h"|render/ includes the program dialog_program/
a folder without a layer|extra/thing.h|#include "core/debug_log.h"|folder extra/ has no layer
two files in a circle|render/report_file.h|#include "render/line_reader.h"|include circle: render/line_reader.h <-> render/report_file.h
a file that includes itself|render/byte_scan.h|#include "byte_scan.h"|include circle: render/byte_scan.h
the page loop asks for 64-bit Windows|render/page_loop.cpp|#if defined(_WIN64)|asks which platform it is built for
a device file asks for Windows|device/printer_selection.cpp|#ifdef _WIN32|asks which platform it is built for
CASES

[ "$failures" -eq 0 ]
