#!/usr/bin/env bash
# The dialogs a desktop user sees, on a display of the test's own, through
# the tree's dialog program: Print Setup, the cancel window of a long
# print and a message box, each found by its title and answered with keys
# as a user would. Screenshots go to the build tree.
source "$(dirname "$0")/lib.sh"
source "$ROOT/scripts/lib/environment.sh"

work_folder
QUEUE="plenwick-desktop-$$"
on_exit stop_display
[ -x "$NATIVE/plenwick-dialogs" ] || { echo "FAIL: no dialog program in $NATIVE"; exit 1; }
start_display >/dev/null || exit 1
own_queue null "$QUEUE" "" -D "Desktop test queue"
on_exit '[ -n "${JAVA_PID:-}" ] && kill "$JAVA_PID" 2>/dev/null'
javac -d "$WORK" -cp "$NATIVE/java" "$ROOT/tests/linux/SetupThenPrint.java" || exit 1

window_titled() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
press() {  # window key...
  local window=$1
  shift
  xdotool windowfocus "$window" 2>/dev/null
  sleep 0.3
  xdotool key --delay 100 "$@"
}
shot() { import -window root "$NATIVE/$1.png" 2>/dev/null; }
setup_then_print() {  # report...
  timeout 120 java -Xcheck:jni -Djava.library.path="$NATIVE" -cp "$NATIVE/java:$WORK" \
    SetupThenPrint "$@" >host.out 2>&1 &
  JAVA_PID=$!
}
finished() { wait "$JAVA_PID"; local status=$?; JAVA_PID=""; return $status; }

# Print Setup, cancelled: false, and the selection stays.
setup_then_print
window=$(window_titled "Print Setup")
check "Print Setup appears" [ -n "$window" ]
shot print_setup
press "$window" Escape
finished
check "Escape: the virtual machine ends well" [ $? -eq 0 ]
check "Escape: setup answers false" grep -qx "setup: false" host.out
before=$(sed -n 's/^before: //p' host.out)
check "Escape: the selection stays" grep -qx "after: $before" host.out

# Print Setup, another queue chosen: the next request prints there. The
# queues are listed default first ("PDF"), so Down chooses ours.
printf 'chosen\r\n' >"$TAG-chosen.txt"
setup_then_print "$TAG-chosen.txt"
window=$(window_titled "Print Setup")
press "$window" Down Return
finished
check "OK: setup answers true" grep -qx "setup: true" host.out
check "OK: the queue chosen is the selected printer" grep -qx "after: $QUEUE" host.out
queue_printed() { lpstat -W completed -o "$QUEUE" 2>/dev/null | grep -q .; }
check "OK: the next request prints there" wait_until 10 queue_printed

# The cancel window of a long print: its title line follows the pages, and
# Cancel abandons the document; the report is kept and the next print works.
# Tens of thousands of pages: the page loop fills several thousand a
# second, and the window must still be there when the test presses Cancel.
seq 3000000 | sed 's/^/row /; s/$/\r/' >"$TAG-long.txt"
since=$(last_job_id)
linux_print -disposition=scratch -printer_id=PDF "$TAG-long.txt" >host.out 2>&1 &
JAVA_PID=$!
window=$(window_titled "Spooling")
check "the cancel window appears" [ -n "$window" ]
import -window "$window" first.png 2>/dev/null
sleep 0.5
shot cancel_window
import -window "$window" second.png 2>/dev/null
check "its page line advances" bash -c "! compare -metric AE first.png second.png null: 2>/dev/null"
press "$window" Escape
# The user's own Cancel shows no box: the page call that fails because of
# it is only logged. A box that came all the same is answered, so the
# request still ends.
box=$(timeout 5 xdotool search --sync --onlyvisible --name "^Error\$" 2>/dev/null | head -1)
[ -n "$box" ] && press "$box" Return
check "Cancel: no box for the user's own Cancel" [ -z "$box" ]
finished
check "Cancel: the request returns to Java" [ $? -eq 0 ]
check "Cancel: no spooler error was told" bash -c "! grep -q 'returned -2' host.out"
check "Cancel: the report is kept" [ -e "$TAG-long.txt" ]
sleep 2
check "Cancel: nothing is printed" [ -z "$(pdfs_after_job "$since")" ]
printf 'after\r\n' >"$TAG-after.txt"
print_request -printer_id=PDF "$TAG-after.txt"
check "the next print works" [ ${#PDFS[@]} -eq 1 ]

# A message box: the unknown printer's, answered Cancel, gives up that
# report only.
printf 'kept\r\n' >"$TAG-kept.txt"
printf 'next\r\n' >"$TAG-next.txt"
since=$(last_job_id)
linux_print -disposition=scratch -printer_id=Nowhere "$TAG-kept.txt" -printer_id=PDF "$TAG-next.txt" \
  >host.out 2>&1 &
JAVA_PID=$!
window=$(window_titled "Plenwick - Can't Open Printer")
check "the message box appears" [ -n "$window" ]
shot message_box
press "$window" alt+c
finished
check "Cancel: the request returns to Java" [ $? -eq 0 ]
check "Cancel: the answer is logged" grep -q "Can't Open Printer: .*\[Cancel\]" host.out
check "Cancel: that report is kept" [ -e "$TAG-kept.txt" ]
printed_next() {
  local pdf
  for pdf in $(pdfs_after_job "$since"); do
    pdftotext "$pdf" - 2>/dev/null | grep -q next && return 0
  done
  return 1
}
check "the next report printed" wait_until 30 printed_next
finish
