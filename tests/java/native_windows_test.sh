#!/usr/bin/env bash
# The application's class and its tests in a real JVM with -Xcheck:jni,
# loading the tree's libPLENWICKDLL.so: every check passes and the JVM
# warns of nothing.
set -uo pipefail
ROOT="${PLENWICK_ROOT:?}"
NATIVE="${PLENWICK_BUILD:?}"
source "$ROOT/tests/fixtures/fixture_env.sh"
# As on a server: no display, so no dialog waits for a user.
unset DISPLAY WAYLAND_DISPLAY
classes="$NATIVE/java-tests"
rm -rf "$classes" && mkdir -p "$classes"
javac -d "$classes" "$ROOT"/java/doc/*.java "$ROOT"/tests/java/*.java || exit 1
log=$(mktemp)
trap 'rm -f "$log"' EXIT
PLENWICK_REGISTRY="$ROOT/tests/java/registry.reg" \
  java -Xcheck:jni -Djava.library.path="$NATIVE" -cp "$classes" NativeWindowsTest >"$log" 2>&1
status=$?
cat "$log"
if grep -q -i 'warning' "$log"; then
  echo "FAIL: the JVM warned (JNI)"
  status=1
fi
grep -q -E '^[0-9]+ passed, 0 failed$' "$log" || { echo "FAIL: not every check passed"; status=1; }
exit $status
