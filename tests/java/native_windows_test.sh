#!/usr/bin/env bash
# The application's class and its tests in a real JVM with -Xcheck:jni,
# loading the tree's libPLENWICKDLL.so: every check passes and the JVM
# warns of nothing of ours. On Java 17 (the system's) under three locales;
# and, where the machine has a Java 24 or later, there too: with native
# access enabled (--enable-native-access=ALL-UNNAMED, as the README tells
# users) no warning at all, and without it only the JVM's own warning that
# System.loadLibrary is a restricted method.
source "$(dirname "$0")/../linux/lib.sh"
work_folder
# As on a server: no display, so no dialog waits for a user.
unset DISPLAY WAYLAND_DISPLAY
classes="$NATIVE/java-tests"
rm -rf "$classes" && mkdir -p "$classes"
# Class files of the oldest JVM run here, which every later one loads.
javac -d "$classes" "$ROOT"/java/doc/*.java "$ROOT"/tests/java/*.java || exit 1
# An lp that writes down what it was asked to print.
printf '#!/bin/sh\nprintf "%%s|" "$@" >"%s/lp.args"\n' "$WORK" >lp
chmod +x lp

# The newest JVM of the machine from Java 24 on, where loading a native
# library is a restricted method; none when it has none.
newest_restricting_java() {
  local java version best="" best_version=23
  for java in /usr/lib/jvm/*/bin/java; do
    [ -x "$java" ] || continue
    version=$("$java" -XshowSettings:properties -version 2>&1 |
      sed -n -E 's/^ *java\.version = ([0-9]+).*/\1/p')
    if [ -n "$version" ] && [ "$version" -gt "$best_version" ]; then
      best=$java best_version=$version
    fi
  done
  echo "$best"
}

# The JVM's own warning when a class of the unnamed module loads a native
# library without native access: these lines and no other.
RESTRICTED_METHOD_WARNING='^WARNING: (A restricted method in java\.lang\.System has been called'
RESTRICTED_METHOD_WARNING+='|java\.lang\.System::loadLibrary has been called by doc\.NativeWindows in an unnamed module .*'
RESTRICTED_METHOD_WARNING+='|Use --enable-native-access=ALL-UNNAMED to avoid a warning for callers in this module'
RESTRICTED_METHOD_WARNING+='|Restricted methods will be blocked in a future release unless native access is enabled)$'

# One run of the tests: a JVM (its java and options), a locale, and what
# warnings it may give: none, or the JVM's own restricted-method warning
# (restricted), which must then come.
run_tests() {  # name warnings locale java [java-options...]
  local name="$1, locale ${3:-as inherited}" warnings=$2 locale=$3 status
  shift 3
  (
    if [ -n "$locale" ]; then export LANG="$locale" LC_ALL="$locale"; fi
    PATH="$WORK:$PATH" PLENWICK_REGISTRY="$ROOT/tests/java/registry.reg" \
      "$@" -Xcheck:jni -Djava.library.path="$NATIVE" -Dplenwick.lp.record="$WORK/lp.args" \
      -cp "$classes" NativeWindowsTest
  ) >java.out 2>&1
  status=$?
  cat java.out
  check "$name: the JVM ends normally" [ $status -eq 0 ]
  if [ "$warnings" = restricted ]; then
    check "$name: no warning but the restricted method's" \
      not grep -q -i -v -E "$RESTRICTED_METHOD_WARNING" <(grep -i warning java.out)
    check "$name: the JVM's restricted-method warning" grep -q -E "$RESTRICTED_METHOD_WARNING" java.out
  else
    check "$name: the JVM warns of nothing" not grep -q -i warning java.out
  fi
  check "$name: every check passed" grep -q -E '^[0-9]+ passed, 0 failed$' java.out
}

# The virtual machine sets the C library's locale from the environment:
# nothing the library compares or reads may change under Turkish (I and i
# not one letter) or German (a decimal comma).
for locale in "" tr_TR.UTF-8 de_DE.UTF-8; do
  run_tests "Java $(javac -version 2>&1 | sed 's/^javac //')" none "$locale" java
done
newer=$(newest_restricting_java)
if [ -n "$newer" ]; then
  version=$("$newer" -version 2>&1 | head -1)
  run_tests "$version with native access" none "" "$newer" --enable-native-access=ALL-UNNAMED
  run_tests "$version without native access" restricted "" "$newer"
else
  echo "== no Java 24 or later on this machine: Java 17 only"
fi
finish
