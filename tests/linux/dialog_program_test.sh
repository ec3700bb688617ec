#!/usr/bin/env bash
# What the library sends its dialog program, and what it does with a
# program that fails or answers what no button says: a stand-in program (a
# script) answers as told and writes down what the library sent it. The
# real program's answers, pressed as a user would, are
# desktop_dialogs_test.sh's. The library is copied into a folder
# of the test's own, where it finds the stand-in beside it. The display
# only has to be named: the stand-in opens none.
source "$(dirname "$0")/lib.sh"

use_own_queue plenwick-dialogs
lpadmin -p "$QUEUE" -D "The test's own queue"

mkdir lib classes
cp "$NATIVE/libPLENWICKDLL.so" lib/
LIBRARY_DIR="$WORK/lib"
javac -d classes -cp "$NATIVE/java" "$ROOT/tests/linux/SetupThenPrint.java" || exit 1
export FAKE_LOG="$WORK/program.log"
cat >lib/plenwick-dialogs <<'PROGRAM'
#!/usr/bin/env bash
echo "started $1" >>"$FAKE_LOG"
while IFS= read -r line; do
  printf '%s\n' "$line" >>"$FAKE_LOG"
  [ "$line" = show ] && break
done
act=$FAKE_ACT
# A message box while the window acts is answered (the user's own Cancel
# shows none); the window acts.
[ "$1" = message ] && [[ "$act" == window* ]] && act=answer-1
case "$act" in
  answer-*) printf 'answer\t%s\n' "${act#answer-}" ;;
  crash) kill -SEGV $$ ;;
  setup-cancel) echo cancel ;;
  window) echo ready; cat >>"$FAKE_LOG" ;;
  silent) ;;
esac
PROGRAM
chmod +x lib/plenwick-dialogs

# Runs a Java program on the copied library with the stand-in acting as
# told; its output in host.out.
desktop() {  # act class args...
  local act=$1 class=$2
  shift 2
  rm -f "$FAKE_LOG"
  FAKE_ACT=$act DISPLAY=:nowhere timeout 120 java -Xcheck:jni -Djava.library.path="$LIBRARY_DIR" \
    -cp "$NATIVE/java:$WORK/classes" "$class" "$@" >host.out 2>&1
}
# Message boxes: the unknown printer's box. An answer that is none of the
# box's buttons counts as no answer: its safe button.
printf 'kept\r\n' >"$TAG-kept.txt"
while read -r act expected; do
  desktop "$act" PlenwickPrint -disposition=scratch -printer_id=Nowhere "$TAG-kept.txt"
  status=$?
  check "$act: the request returns to Java" [ $status -eq 0 ]
  check "$act: the answer is logged" grep -q "Can't Open Printer: .*\[$expected\]" host.out
  check "$act: the report is kept" [ -e "$TAG-kept.txt" ]
done <<'CASES'
answer-6 Cancel
crash Cancel
silent Cancel
CASES
check "the box's caption, text and buttons reach the program" bash -c "
  grep -qx 'started message' '$FAKE_LOG' &&
  grep -qx \$'caption\tPlenwick - Can\\'t Open Printer' '$FAKE_LOG' &&
  grep -q \$'^text\tInvalid printer name' '$FAKE_LOG' && grep -qx \$'buttons\t5' '$FAKE_LOG' &&
  grep -qx \$'close\t2' '$FAKE_LOG'"

# Print Setup: a crash or a program that says nothing keep the selection.
desktop setup-cancel SetupThenPrint
before=$(sed -n 's/^before: //p' host.out)
check "the program is told every queue, with its description" \
  grep -qx $'printer\t'"$QUEUE"$'\tThe test\'s own queue' "$FAKE_LOG"
check "and each queue's papers" grep -qx $'paper\tPDF\t9\tA4' "$FAKE_LOG"
check "and the selection it opens on" grep -q $'^selected\t'"$before"$'\t' "$FAKE_LOG"
for act in crash silent; do
  desktop $act SetupThenPrint
  check "$act: setup answers false and the JVM lives" grep -qx "setup: false" host.out
  check "$act: the selection stays" grep -qx "after: $before" host.out
done
# The cancel window: the page title advances in it. A program that never shows its window leaves the
# print as it is without one.
seq -f 'line %g' 250 | sed 's/$/\r/' >"$TAG-long.txt"
rm -f "$FAKE_LOG"
FAKE_ACT=window DISPLAY=:nowhere print_request -printer_id=PDF "$TAG-long.txt"
check "window: printed" [ ${#PDFS[@]} -eq 1 ]
check "window: the caption becomes Spooling" grep -qx $'caption\tSpooling' "$FAKE_LOG"
check "window: the template's items" bash -c "grep -qx \$'button\t2\t&Cancel\t1' '$FAKE_LOG' &&
  grep -qx \$'text\t-1\tPress to cancel job' '$FAKE_LOG'"
check "window: the page title advances" bash -c \
  "[ \$(grep -c \$'^text\t100\t$TAG-long.txt (page ' '$FAKE_LOG') -ge 3 ]"
for act in silent crash; do
  FAKE_ACT=$act DISPLAY=:nowhere print_request -printer_id=PDF "$TAG-long.txt"
  check "$act window: printed without it" [ ${#PDFS[@]} -eq 1 ]
done

# A display but no program beside the library: the answers of a machine
# without a display.
mv lib/plenwick-dialogs program.moved
for class in PlenwickPrint SetupThenPrint; do
  desktop answer-1 $class -disposition=scratch -printer_id=Nowhere "$TAG-kept.txt"
  check "no program ($class): the virtual machine ends well" [ $? -eq 0 ]
done
check "no program: setup answers false" grep -qx "setup: false" host.out
check "no program: the box's safe answer" grep -q "Can't Open Printer: .*\[Cancel\]" host.out
mv program.moved lib/plenwick-dialogs

# No display: the program is never started.
rm -f "$FAKE_LOG"
FAKE_ACT=answer-2 print_request -printer_id=Nowhere "$TAG-kept.txt"
check "no display: no program" [ ! -e "$FAKE_LOG" ]
check "no display: the safe answer" grep -q "Can't Open Printer: .*\[Cancel\]" host.out
finish
