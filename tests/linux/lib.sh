# Shared by the shell tests of the Linux library. They run with
# PLENWICK_ROOT (the sources) and PLENWICK_BUILD (the native build tree,
# with libPLENWICKDLL.so and the Java classes) set by ctest, and with the
# print server (CUPS_SERVER) that the tree's fixtures started
# (fixture_env.sh).
set -uo pipefail

ROOT="${PLENWICK_ROOT:?}"
NATIVE="${PLENWICK_BUILD:?}"
source "$ROOT/scripts/lib/fixture_env.sh"

source "$ROOT/tests/support/kit.sh"

# The tests run as on a server, without a display, whatever the session
# that started them has: the tests of the desktop's dialogs name one
# themselves.
unset DISPLAY WAYLAND_DISPLAY
LIBRARY_DIR="${LIBRARY_DIR:-$NATIVE}"

# Report names carry this tag: the other tests of the run print on the same
# queue at the same time, and a PDF is known as ours by its title.
TAG="lx$$"

# Runs one print request in a real virtual machine, through
# NativeWindows.plenwick as the application calls it. The library is the
# tree's, or the one in LIBRARY_DIR (a package's, unpacked). With
# PRINT_LOCALE set, the machine runs under that locale (the test's own
# commands, lpstat among them, stay in theirs).
print_via jvm
linux_print() { print_via jvm && "${HOST_PRINT[@]}" "$@"; }

# A work folder to stand in and a queue of the test's own that discards what
# it prints (QUEUE, named after $1), both gone when the test ends.
use_own_queue() {  # name
  work_folder
  QUEUE="$1-$$"
  own_queue null "$QUEUE"
}
