#!/usr/bin/env bash
# The application's class and its tests in a real JVM with -Xcheck:jni,
# loading the tree's libPLENWICKDLL.so: every check passes and the JVM
# warns of nothing.
source "$(dirname "$0")/../linux/lib.sh"
work_folder
classes="$NATIVE/java-tests"
rm -rf "$classes" && mkdir -p "$classes"
javac -d "$classes" "$ROOT"/java/doc/*.java "$ROOT"/tests/java/*.java || exit 1
# An lp that writes down what it was asked to print.
printf '#!/bin/sh\nprintf "%%s|" "$@" >"%s/lp.args"\n' "$WORK" >lp
chmod +x lp
# The virtual machine sets the C library's locale from the environment:
# nothing the library compares or reads may change under Turkish (I and i
# not one letter) or German (a decimal comma).
for locale in "" tr_TR.UTF-8 de_DE.UTF-8; do
  (
    if [ -n "$locale" ]; then export LANG="$locale" LC_ALL="$locale"; fi
    PATH="$WORK:$PATH" PLENWICK_REGISTRY="$ROOT/tests/java/registry.reg" \
      java -Xcheck:jni -Djava.library.path="$NATIVE" -Dplenwick.lp.record="$WORK/lp.args" \
      -cp "$classes" NativeWindowsTest
  ) >java.out 2>&1
  status=$?
  cat java.out
  check "${locale:-inherited locale}: the JVM ends normally" [ $status -eq 0 ]
  check "${locale:-inherited locale}: the JVM warns of nothing" not grep -q -i warning java.out
  check "${locale:-inherited locale}: every check passed" grep -q -E '^[0-9]+ passed, 0 failed$' java.out
done
finish
