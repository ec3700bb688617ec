#!/usr/bin/env bash
# The layering check passes on the sources as they are, and fails, naming the
# file and line, on each kind of fault planted in a copy of them.
PLENWICK_ROOT=${PLENWICK_ROOT:-$(cd "$(dirname "$0")/../.." && pwd)}
source "$PLENWICK_ROOT/tests/support/kit.sh"
ROOT=$PLENWICK_ROOT
CHECK="$ROOT/scripts/check_layers"
work_folder

check "the sources keep the layering" "$CHECK" "$ROOT/src" "$ROOT/tests/simwin"

# name | file to plant in (in a copy of src/ or of the simulated Windows) |
# line to append | what the check must say
while IFS='|' read -r name file line expected; do
  plant "$file" "$line" "$ROOT/src" "$ROOT/tests/simwin"
  expect_fault "$name" "$expected" "$CHECK" "$WORK/planted/src" "$WORK/planted/simwin"
done <<'CASES'
core climbs to render|src/core/fixed_text.h|#include "render/page_loop.h"|core/fixed_text.h:37: includes render/page_loop.h: climbs from core/ up to render/
render climbs to request|src/render/overstrike.cpp|#include "request/print_request.h"|climbs from render/ up to request/
options includes its peer render|src/options/option_table.cpp|#include "render/overstrike.h"|options/ may not include its peer render/
simwin knows the library|simwin/gdi.cpp|#include "core/debug_log.h"|the platform includes the library
linux includes simwin|src/platform/linux/kernel.cpp|#include "simwin/control.h"|one platform includes another
the library sees a platform's parts|src/render/page_loop.cpp|#include "simwin/control.h"|the library includes a platform's own parts
the dialog program knows the library|src/dialog_program/main.cpp|#include "core/debug_log.h"|the program dialog_program/ includes more than the shared platform parts
the dialog program sees the Linux platform|src/dialog_program/main.cpp|#include "platform/linux/font.h"|the program dialog_program/ includes more than the shared platform parts
the library includes the dialog program|src/render/page_loop.cpp|#include "dialog_program/dialogs.h"|render/ includes the program dialog_program/
a folder without a layer|src/extra/thing.h|#include "core/debug_log.h"|folder extra/ has no layer
two files in a circle|src/render/report_file.h|#include "render/line_reader.h"|include circle: render/line_reader.h <-> render/report_file.h
a file that includes itself|src/render/byte_scan.h|#include "byte_scan.h"|include circle: render/byte_scan.h
the page loop asks for 64-bit Windows|src/render/page_loop.cpp|#if defined(_WIN64)|asks which platform it is built for
a device file asks for Windows|src/device/printer_selection.cpp|#ifdef _WIN32|asks which platform it is built for
CASES

finish
