#!/usr/bin/env bash
# Eight threads of one virtual machine (-Xcheck:jni) calling all seven
# native methods at once: no crash, no JNI warning, every answer right, and
# every print a job on the printer. The prints go to a queue of our own that
# discards them.
source "$(dirname "$0")/lib.sh"

use_own_queue plenwick-threads
javac -cp "$NATIVE/java" -d "$WORK/classes" "$ROOT/tests/java/ConcurrentCallsTest.java" || exit 1
since=$(last_job_id)
PLENWICK_REGISTRY="$ROOT/tests/java/registry.reg" java -Xcheck:jni -Djava.library.path="$NATIVE" \
  -cp "$NATIVE/java:$WORK/classes" ConcurrentCallsTest "$QUEUE" >host.out 2>&1
status=$?
grep -E '^(FAIL|calls )' host.out
[ $status -eq 0 ] || grep -v '^FAIL' host.out | head -12
check "the virtual machine ends normally" [ $status -eq 0 ]
check "no JNI warning" no_jni_warning host.out
prints=$(sed -n -E 's/^calls [0-9]+, prints ([0-9]+), problems 0$/\1/p' host.out)
check "every call answered rightly" [ -n "$prints" ]
wait_for_cups "$QUEUE"
jobs=$(lpstat -W all -o "$QUEUE" 2>/dev/null | sed -E -n 's/^[^ ]+-([0-9]+) .*/\1/p' |
  awk -v since="$since" '$1 > since' | wc -l)
check "every print is a job on the queue ($jobs of ${prints:-?})" [ "$jobs" = "${prints:-x}" ]
check "no report is left behind" bash -c "! ls cc-*.txt >/dev/null 2>&1"

finish
