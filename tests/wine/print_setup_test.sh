#!/usr/bin/env bash
# Print Setup as a user works it, on the real DLL in one process: choosing a
# second printer in the dialog makes it the one the printer name says and the
# next request prints on; the dialog opens on it again; a request naming
# another printer prints there and leaves the choice alone. What the
# orientation and paper chosen in the dialog do to the next print is read
# from the page box. A screenshot of the dialog goes beside the cancel
# dialog's, to $PLENWICK_BUILD/print_setup_dialog.png.
source "$(dirname "$0")/lib.sh"

# A second cups-pdf printer of this run's own: another run (the other
# architecture) may be at work beside it, and the "PDF" queue is shared.
QUEUE="PDF2_$$"
TAG="setup$$"  # report names, and so document titles, of this run
XVFB=""
work_folder
on_exit '[ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null'
if ! own_queue pdf "$QUEUE"; then
  fail "cannot add the CUPS queue $QUEUE"
  finish
fi
for name in chosen switched back layout; do printf '%s report\r\n' "$name" >"${TAG}_$name.txt"; done
TRANSCRIPT="$WORK/transcript"
STEPS=(
  name
  "ok:printer=$QUEUE"
  name
  "print ${TAG}_chosen.txt"
  cancel
  name
  "print -printer_id=PDF ${TAG}_switched.txt"
  name
  "print ${TAG}_back.txt"
  ok:landscape:paper=1:hold
  "print ${TAG}_layout.txt"
  cancel
)

# The whole session runs inside a Wine virtual desktop of its own name, so
# that the held dialog can be photographed with its caption, on a display of
# its own: the shared one shows other tests' windows, which would cover the
# dialog in the picture (and the desktop would cover theirs).
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
XVFB=$!
wait_until 10 test -s "$WORK/display"
export DISPLAY=":$(cat "$WORK/display")"
PNG="$WINBUILD/print_setup_dialog.png"
rm -f "$PNG"
DESKTOP_NAME="setup$$"
since=$(last_job_id)
wine_run explorer /desktop="$DESKTOP_NAME",640x480 "$(winepath -w "$WINBUILD/print_setup_user.exe")" \
  "$(winepath -w "$TRANSCRIPT")" "${STEPS[@]}" >"$WORK/wine.log" 2>&1 &
PID=$!

held_or_ended() { [ -f "$TRANSCRIPT.ready" ] && [ -n "$(window_geometry "Print Setup")" ] || ! kill -0 "$PID" 2>/dev/null; }
wait_until 60 held_or_ended
if [ -f "$TRANSCRIPT.ready" ]; then
  screenshot_desktop "$DESKTOP_NAME" "Print Setup" "$PNG"
else
  fail "the held Print Setup dialog did not show"
fi
touch "$TRANSCRIPT.stop"

await_program "$PID" 120 "the session"
check "the session and its desktop ended" test $? -eq 0
echo "transcript:"
sed 's/^/  /' "$TRANSCRIPT"
line() { sed -n "$1p" "$TRANSCRIPT"; }
expect_line() {  # number text
  check "step $1: $2" [ "$(line "$1")" = "$2" ]
}

# The queue and PDF of each report of this run, by document title.
declare -A QUEUE_OF PDF_OF
while read -r queue id file; do
  title=$(pdf_title "$file")
  [[ "$title" == "$TAG"_* ]] || continue
  QUEUE_OF[$title]=$queue
  PDF_OF[$title]=$file
  echo "job $id on $queue: $title, $(pdfinfo "$file" | grep -E '^Page (size|rot)' | tr -s ' ' | paste -sd ' ')"
done < <(completed_jobs_after "$since" PDF "$QUEUE")
printed_on() {  # report queue
  check "$1 printed on $2" [ "${QUEUE_OF[${TAG}_$1.txt]:-nothing}" = "$2" ]
}

expect_line 1 "name: PDF"
expect_line 2 "setup: opened on PDF, portrait, A4 (9); chose $QUEUE, portrait, A4 (9); returned true"
expect_line 3 "name: $QUEUE"
expect_line 4 "print ${TAG}_chosen.txt: returned true"
printed_on chosen "$QUEUE"

# Opened again, the dialog shows the chosen printer; Cancel keeps it.
expect_line 5 "setup: opened on $QUEUE, portrait, A4 (9); cancelled; returned false"
expect_line 6 "name: $QUEUE"

# A request naming "PDF" prints there, and the selection goes back.
expect_line 7 "print -printer_id=PDF ${TAG}_switched.txt: returned true"
printed_on switched PDF
expect_line 8 "name: $QUEUE"
printed_on back "$QUEUE"

# Landscape and Letter chosen in the dialog are in the selection when OK is
# pressed, but a request without orientation is a portrait job, and a job
# without paper options leaves the paper unflagged, so the driver's own
# paper (A4) is used: the next page is portrait A4, and the dialog opens so
# afterwards. The print follows the choice at once: opening the dialog in
# between would hand the chosen settings to Wine's driver as the printer's
# settings for the rest of the process.
expect_line 10 "setup: opened on $QUEUE, portrait, A4 (9); chose $QUEUE, landscape, US Letter (1); returned true"
printed_on layout "$QUEUE"
layout=$(pdfinfo "${PDF_OF[${TAG}_layout.txt]:-none}" 2>/dev/null)
check "the page after choosing landscape is portrait" grep -E -q 'Page rot: +0$' <<<"$layout"
check "the page after choosing Letter is A4" grep -E -q 'Page size: +595 x 842' <<<"$layout"
expect_line 12 "setup: opened on $QUEUE, portrait, A4 (9); cancelled; returned false"
expect_line 13 "end: JNI balanced"

finish
