# Shared by the shell tests of the Linux library. They run with
# PLENWICK_ROOT (the sources) and PLENWICK_BUILD (the native build tree,
# with libPLENWICKDLL.so and the Java classes) set by ctest, and with the
# print server (CUPS_SERVER) that the tree's fixtures started
# (fixture_env.sh).
set -uo pipefail

ROOT="${PLENWICK_ROOT:?}"
NATIVE="${PLENWICK_BUILD:?}"
source "$ROOT/scripts/lib/fixture_env.sh"

source "$ROOT/tests/support/shell_checks.sh"

# The tests run as on a server, without a display, whatever the session
# that started them has: the tests of the desktop's dialogs name one
# themselves.
unset DISPLAY WAYLAND_DISPLAY
# The folder the virtual machine loads the library from.
LIBRARY_DIR="${LIBRARY_DIR:-$NATIVE}"

# Report names carry this tag: the other tests of the run print on the same
# queue at the same time, and a PDF is known as ours by its title.
TAG="lx$$"

# Runs one print request in a real virtual machine, through
# NativeWindows.plenwick as the application calls it. The library is the
# tree's, or the one in LIBRARY_DIR (a package's, unpacked). With
# PRINT_LOCALE set, the machine runs under that locale (the test's own
# commands, lpstat among them, stay in theirs).
linux_print() {
  local locale=()
  [ -n "${PRINT_LOCALE:-}" ] && locale=(LANG="$PRINT_LOCALE" LC_ALL="$PRINT_LOCALE")
  env "${locale[@]}" java -Xcheck:jni -Djava.library.path="$LIBRARY_DIR" -cp "$NATIVE/java" PlenwickPrint "$@"
}

# No warning of -Xcheck:jni in the virtual machine's output ("WARNING in
# native method: ...", "WARNING: JNI local refs: ...", "Warning: Calling
# other JNI functions ..."). Any other warning there (the machine's own,
# such as a thread it could not start on a loaded machine) is shown, and
# is not the library's.
no_jni_warning() {  # output
  grep -i warning "$1" | grep -v -i -E 'jni|native method' | sed 's/^/  note: /'
  ! grep -i warning "$1" | grep -i -E 'jni|native method' >&2
}

# Prints one request; its output goes to host.out, and PDFS holds the PDF of
# each report file of the request that was printed, in order.
PDFS=()
print_request() {
  local since status arg pdf
  since=$(last_job_id)
  linux_print "$@" >host.out 2>&1
  status=$?
  check "the request returns to Java ($*)" [ $status -eq 0 ]
  check "no JNI warning ($*)" no_jni_warning host.out
  PDFS=()
  local all
  mapfile -t all < <(pdfs_after_job "$since")
  for arg in "$@"; do
    [[ "$arg" == -* ]] && continue
    for pdf in "${all[@]}"; do
      # cups-pdf takes the title from the PostScript that CUPS made of the
      # PDF, where it stands in parentheses.
      [[ "$(pdf_title "$pdf")" =~ ^\(?"$arg"\)?$ ]] && PDFS+=("$pdf")
    done
  done
}

# A work folder to stand in and a queue of the test's own that discards what
# it prints (QUEUE, named after $1), both gone when the test ends.
use_own_queue() {  # name
  WORK=$(mktemp -d)
  QUEUE="$1-$$"
  trap 'cancel -a "$QUEUE" 2>/dev/null; remove_queue "$QUEUE"; rm -rf "$WORK"' EXIT
  cd "$WORK" || exit 1
  lpadmin -p "$QUEUE" -E -v file:/dev/null
}
