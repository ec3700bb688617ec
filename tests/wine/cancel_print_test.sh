#!/usr/bin/env bash
# Cancel in the cancel window of a long print, pressed as a user presses
# it: a click of the X server's own pointer (xdotool) on the window's
# Cancel button while the real DLL prints under Wine. Nothing of the
# cancelled report may print, it is kept under SCRATCH, no box tells the
# user of their own Cancel, and the next report of the request prints. The
# queue is this test's own.
source "$(dirname "$0")/lib.sh"

work_folder
QUEUE="PLENWICK_CANCEL_$$"
LONG="long_$$.txt"
NEXT="next_$$.txt"
HOST=""
own_queue pdf "$QUEUE" || exit 1
on_exit '[ -n "$HOST" ] && kill "$HOST" 2>/dev/null'

# Thousands of pages, each ended by a form feed: the print takes a minute
# or more, so the window is there when the test clicks.
awk 'BEGIN { for (p = 1; p <= 3000; p++) { for (r = 1; r <= 20; r++) printf "page %d row %d\r\n", p, r
             printf "\f" } }' >"$LONG"
printf 'next report\r\n' >"$NEXT"

since=$(last_job_id)
PLENWICK_DEBUG="$WORK/print.log" wine_run "$WINBUILD/plenwick_print.exe" -printer_id="$QUEUE" \
  -disposition=scratch "$LONG" "$NEXT" >host.out 2>&1 &
HOST=$!

# The window, once the print is under way (a few pages spooled).
printing_page() { grep -q "Printing $LONG (page $1)" print.log 2>/dev/null; }
up_or_ended() { [ -n "$(window_geometry Spooling)" ] && printing_page 5 || ! kill -0 "$HOST" 2>/dev/null; }
wait_until 60 up_or_ended
geometry=$(window_geometry Spooling)
check "the cancel window is up while the report prints" [ -n "$geometry" ]

# The Cancel button's middle: 65,39 of the 137 by 72 dialog units (the
# window on a display without a window manager is the dialog's client
# area).
if [[ "$geometry" =~ ^([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+)$ ]]; then
  # Its picture is kept in the build tree; a window never painted is one colour.
  import -window root -crop "$geometry" +repage "$WINBUILD/cancel_dialog.png"
  deviation=$(convert "$WINBUILD/cancel_dialog.png" -format '%[fx:standard_deviation]' info:)
  check "the cancel window is painted (deviation $deviation)" awk -v d="$deviation" 'BEGIN { exit !(d > 0) }'
  x=$((BASH_REMATCH[3] + BASH_REMATCH[1] * 65 / 137))
  y=$((BASH_REMATCH[4] + BASH_REMATCH[2] * 39 / 72))
  clicked_at=$(grep -c "^Printing $LONG" print.log)
  xdotool mousemove "$x" "$y" click 1
  echo "clicked Cancel at $x,$y during page $clicked_at"
fi

# The print stops within seconds; a box, had one come, is seen here.
box_or_ended() { [ -n "$(window_geometry Error)" ] || ! kill -0 "$HOST" 2>/dev/null; }
wait_until 30 box_or_ended
box=$(window_geometry Error)
check "Cancel: no box for the user's own Cancel" [ -z "$box" ]
stopped=yes
kill -0 "$HOST" 2>/dev/null && stopped=""
check "Cancel: the print stops" [ -n "$stopped" ]
if [ -z "$stopped" ]; then
  echo "still printing, page $(grep -c "^Printing $LONG" print.log); ended by the test" >&2
  kill "$HOST" 2>/dev/null
fi
wait "$HOST"
HOST=""
tr -d '\r' <host.out

check "Cancel: the log says the user cancelled" grep -q "^$LONG cancelled by the user" print.log
check "Cancel: the report is kept" [ -e "$LONG" ]
wait_for_cups "$QUEUE" >/dev/null
check "Cancel: nothing of it printed" [ -z "$(pdfs_on_queue "$since" "$QUEUE" "$LONG")" ]
check "the next report printed" [ -n "$(pdfs_on_queue "$since" "$QUEUE" "$NEXT")" ]
check "the next report went after it printed" [ ! -e "$NEXT" ]
check "one job in all on the queue" [ "$(lpstat -W all -o "$QUEUE" 2>/dev/null | wc -l)" -eq 1 ]
finish
