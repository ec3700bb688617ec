#!/usr/bin/env bash
# The application's class and its tests in a real JVM with -Xcheck:jni,
# loading the tree's libPLENWICKDLL.so: every check passes and the JVM
# warns of nothing.
set -uo pipefail
ROOT="${PLENWICK_ROOT:?}"
NATIVE="${PLENWICK_BUILD:?}"
source "$ROOT/scripts/lib/fixture_env.sh"
# As on a server: no display, so no dialog waits for a user.
unset DISPLAY WAYLAND_DISPLAY
classes="$NATIVE/java-tests"
rm -rf "$classes" && mkdir -p "$classes"
javac -d "$classes" "$ROOT"/java/doc/*.java "$ROOT"/tests/java/*.java || exit 1
log=$(mktemp)
stand_ins=$(mktemp -d)
trap 'rm -rf "$log" "$stand_ins"' EXIT
# An lp that writes down what it was asked to print.
printf '#!/bin/sh\nprintf "%%s|" "$@" >"%s/lp.args"\n' "$stand_ins" >"$stand_ins/lp"
chmod +x "$stand_ins/lp"
status=0
# The virtual machine sets the C library's locale from the environment:
# nothing the library compares or reads may change under Turkish (I and i
# not one letter) or German (a decimal comma).
for locale in "" tr_TR.UTF-8 de_DE.UTF-8; do
  echo "== locale ${locale:-as inherited}"
  (
    if [ -n "$locale" ]; then export LANG="$locale" LC_ALL="$locale"; fi
    PATH="$stand_ins:$PATH" PLENWICK_REGISTRY="$ROOT/tests/java/registry.reg" \
      java -Xcheck:jni -Djava.library.path="$NATIVE" -Dplenwick.lp.record="$stand_ins/lp.args" \
      -cp "$classes" NativeWindowsTest
  ) >"$log" 2>&1 || status=1
  cat "$log"
  if grep -q -i 'warning' "$log"; then
    echo "FAIL: the JVM warned (JNI)"
    status=1
  fi
  grep -q -E '^[0-9]+ passed, 0 failed$' "$log" || { echo "FAIL: not every check passed"; status=1; }
done
exit $status
