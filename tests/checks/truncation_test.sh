#!/usr/bin/env bash
# GCC has no warning for a 64-bit value cut to 32 bits without a cast;
# clang has, and reads the library's sources for 64-bit Windows against
# the same MinGW-w64 headers.
set -uo pipefail
cd "${1:?source folder}" || exit 1
jdk=$(ls -d /usr/lib/jvm/java-17-openjdk-*/include 2>/dev/null | head -1)
gcc_include=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++ | head -1)
status=0
for source in src/{core,options,render,device,services,bridge}/*.cpp; do
  clang++ --target=x86_64-w64-mingw32 -std=c++17 -fsyntax-only -Wall -Wextra -Wshadow \
    -Wshorten-64-to-32 -Werror -isystem "$gcc_include" -isystem "$gcc_include/x86_64-w64-mingw32" \
    -isystem /usr/x86_64-w64-mingw32/include -Isrc -Isrc/bridge/jni_md_win32 -I"$jdk" "$source" ||
    { echo "FAIL: $source"; status=1; }
done
[ $status -eq 0 ] && echo "ok: no 64-bit value is cut to 32 bits"
exit $status
