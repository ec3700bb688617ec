#!/usr/bin/env bash
# The Debian package of the native tree, made by cpack into a folder of the
# test's own and never installed: it holds the library in the JNI folder of
# the machine's multiarch triplet, the class source and the documents
# lintian asks for, and nothing else; its Depends, computed from the
# binaries, bring CUPS, cairo and fontconfig but no GTK; lintian finds no
# error in it; and a JVM prints a report through the library unpacked from
# it, as does its console printer, plenwick-print. When the tree builds the
# dialog program, that comes in a package of its own, which the library's
# package recommends.
#
#   debian_package_test.sh TREE VERSION DIALOGS(1|0)
source "$(dirname "$0")/../linux/lib.sh"
tree=${1:?build tree}
version=${2:?the project version}-1
dialogs=${3:?1 when the tree builds the dialog program}

work_folder
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
jni=usr/lib/$multiarch/jni

if ! (cd "$tree" && cpack -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1); then
  cat "$WORK/cpack.log"
  fail "cpack made no Debian package"
  finish
fi
library_deb=$(ls "$WORK"/out/libplenwickdll-jni_*.deb 2>/dev/null | head -1)
dialogs_deb=$(ls "$WORK"/out/plenwick-dialogs_*.deb 2>/dev/null | head -1)
check "the library's package is made" [ -f "$library_deb" ]
[ -f "$library_deb" ] || finish

field() { dpkg-deb -f "$1" "$2" 2>/dev/null; }
# The files a package holds, without its folders, one a line in order.
files_of() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort; }
# The package names of a Depends or Recommends field, one a line.
names_in() { tr ',|' '\n\n' <<<"$1" | sed -E 's/\(.*//; s/:.*//; s/ //g' | grep . | sort -u; }

# What each package holds, exactly: no test program or build file slips in.
expected_files=$(printf '%s\n' "$jni/libPLENWICKDLL.so" usr/lib/libPLENWICKDLL.so usr/bin/plenwick-print \
  usr/share/man/man1/plenwick-print.1.gz \
  usr/share/doc/libplenwickdll-jni/changelog.Debian.gz usr/share/doc/libplenwickdll-jni/copyright \
  usr/share/doc/libplenwickdll-jni/options.md \
  usr/share/lintian/overrides/libplenwickdll-jni usr/share/plenwick/java/doc/NativeWindows.java | sort)
check "the library's package holds the library, the console printer, the class source, its documents and the options reference" \
  [ "$(files_of "$library_deb")" = "$expected_files" ] ||
  diff <(echo "$expected_files") <(files_of "$library_deb")
check "package name, version and architecture" \
  [ "$(field "$library_deb" Package) $(field "$library_deb" Version) $(field "$library_deb" Architecture)" \
    = "libplenwickdll-jni $version $(dpkg-architecture -qDEB_HOST_ARCH)" ]

depends=$(names_in "$(field "$library_deb" Depends)")
for needed in libc6 libcups2 libcairo2 libfontconfig1; do
  check "the library's package depends on $needed" grep -q -x "$needed" <<<"$depends"
done
check "the library's package depends on no GTK" bash -c "! grep -q -i gtk <<<'$depends'"

if [ "$dialogs" = 1 ]; then
  check "the dialog program's package is made" [ -f "$dialogs_deb" ]
  check "the dialog program's package holds the program beside the library" \
    [ "$(files_of "$dialogs_deb")" = "$(printf '%s\n' "$jni/plenwick-dialogs" \
      usr/share/doc/plenwick-dialogs/changelog.Debian.gz usr/share/doc/plenwick-dialogs/copyright \
      usr/share/lintian/overrides/plenwick-dialogs)" ]
  check "the dialog program is executable" \
    grep -q -E "^-rwxr-xr-x .* \./$jni/plenwick-dialogs\$" <<<"$(dpkg-deb -c "$dialogs_deb")"
  check "the dialog program's package depends on GTK 3 and on this very library package" \
    bash -c "grep -q 'libgtk-3-0' <<<'$(field "$dialogs_deb" Depends)' &&
      grep -q -F 'libplenwickdll-jni (= $version)' <<<'$(field "$dialogs_deb" Depends)'"
  check "the library's package recommends the dialog program" \
    [ "$(names_in "$(field "$library_deb" Recommends)")" = plenwick-dialogs ]
else
  check "no dialog program's package without the program" [ -z "$dialogs_deb" ]
  check "the library's package recommends nothing" [ -z "$(field "$library_deb" Recommends)" ]
fi

# lintian's errors fail the package; its warnings are shown.
for deb in "$library_deb" $dialogs_deb; do
  lintian --tag-display-limit 0 "$deb" >"$WORK/lintian.out" 2>&1
  sed 's/^/  lintian: /' "$WORK/lintian.out"
  check "lintian finds no error in $(basename "$deb")" bash -c "! grep -q '^E:' '$WORK/lintian.out'"
done

# The library as a machine with the packages installed has it.
mkdir -p "$WORK/root"
for deb in "$library_deb" $dialogs_deb; do dpkg-deb -x "$deb" "$WORK/root"; done
unpacked="$WORK/root/$jni/libPLENWICKDLL.so"
check "the unpacked library keeps its nine exports after stripping" \
  bash "$ROOT/tests/native/shared_object_exports_test.sh" "$unpacked"
check "the unpacked library is stripped" bash -c "! readelf -S '$unpacked' | grep -q -w '.symtab'"
check "every library it needs is found" bash -c "! ldd '$unpacked' | grep -q 'not found'"

# A JVM that finds the library only in the unpacked package prints a report.
cd "$WORK" || exit 1
for ((i = 1; i <= 90; i++)); do printf 'row %03d of the packaged report\r\n' "$i"; done >"$TAG-packaged.txt"
LIBRARY_DIR="$WORK/root/$jni" print_request -point=10 "$TAG-packaged.txt"
check "the report printed through the unpacked library: two pages" \
  [ "$(pdf_pages "${PDFS[0]:-none}")" = 2 ]
check "its first row is on the first page" \
  grep -q 'row 001 of the packaged report' <<<"$(pdf_page_text "${PDFS[0]:-none}" 1)"

# The README's example on a JVM not from Debian, with no -Djava.library.path:
# the package's /usr/lib laid over the machine's, for that program alone.
temurin=$(ls -d /usr/lib/jvm/temurin-*/bin 2>/dev/null | tail -1)
if [ -z "$temurin" ] || ! unshare -m true 2>/dev/null; then
  echo "skipped: the README example on a JVM not from Debian (${temurin:-no such JVM}; unshare -m needs root)"
else
  mkdir -p readme && cd readme && cp -r "$WORK/root/usr/share/plenwick/java/doc" . || exit 1
  awk '/^```java$/ { take = 1; next } take && /^```$/ { exit } take' "$ROOT/README.md" >PrintReports.java
  printf 'monthly\r\n' >monthly.txt && printf 'wide\r\n' >wide.txt
  unshare -m sh -c "mount -t overlay overlay -o lowerdir='$WORK/root/usr/lib':/usr/lib /usr/lib &&
    '$temurin/javac' doc/NativeWindows.java PrintReports.java &&
    '$temurin/java' --enable-native-access=ALL-UNNAMED PrintReports" >temurin.out 2>&1
  check "$temurin/java finds the packaged library and prints the README's reports" \
    grep -q "^Printing on " temurin.out || sed 's/^/  java: /' temurin.out
  cd "$WORK" || exit 1
fi

# The console printer of the package, unpacked: it finds the library where
# the package puts it, relative to its own folder.
print_via console "$WORK/root/usr/bin/plenwick-print"
check_console_printer "$TAG"
finish
