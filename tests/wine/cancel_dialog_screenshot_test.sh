#!/usr/bin/env bash
# The cancel dialog on screen: show_cancel_dialog.exe runs inside a Wine
# virtual desktop (Xvfb has no window manager to draw captions), and a
# screenshot of that desktop goes to $PLENWICK_BUILD/cancel_dialog.png.
source "$(dirname "$0")/lib.sh"

PNG="$WINBUILD/cancel_dialog.png"
WORK=$(mktemp -d "$WINBUILD/screenshot.XXXXXX")
READY="$WORK/ready"
STOP="$WORK/stop"
rm -f "$PNG"

# "WxH+X+Y" of the X window with this exact name, placed on the screen,
# empty when there is none.
window_geometry() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | head -1 |
    sed -E 's/.* ([0-9]+x[0-9]+)[-+][0-9]+[-+][0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+) *$/\1+\2+\3/'
}

# A desktop of its own name, so that no desktop of an earlier run that is
# still closing is reused.
NAME="shot$$"
cd "$WINBUILD" || exit 1
wine_run explorer /desktop="$NAME",480x300 show_cancel_dialog.exe \
  "$(winepath -w "$READY")" "$(winepath -w "$STOP")" >"$WORK/wine.log" 2>&1 &
PID=$!

# The program says when its dialog has been painted.
for _ in $(seq 300); do
  [ -f "$READY" ] && [ -n "$(window_geometry Spooling)" ] && break
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.2
done
check "the dialog is shown with the caption Spooling" test -n "$(window_geometry Spooling)"

DESKTOP=$(window_geometry "$NAME - Wine desktop")
DIALOG=$(window_geometry Spooling)
if [ -n "$DESKTOP" ] && [ -n "$DIALOG" ]; then
  import -window root -crop "$DESKTOP" +repage "$PNG"
  check "screenshot written" test -s "$PNG"
  # Not blank: the dialog's part of the picture has more than one colour.
  deviation=$(import -window root -crop "$DIALOG" +repage png:- |
    convert png:- -format '%[fx:standard_deviation]' info:)
  check "dialog area is not blank (deviation $deviation)" awk -v d="$deviation" 'BEGIN { exit !(d > 0) }'
else
  fail "no desktop or dialog window to take a screenshot of"
  xwininfo -root -tree >&2
  cat "$WORK/wine.log" >&2
fi

# Ends the program and its desktop.
touch "$STOP"
for _ in $(seq 100); do
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$PID" 2>/dev/null; then
  fail "show_cancel_dialog.exe did not end"
  kill "$PID"
fi
wait "$PID"
check "the program and its desktop ended" test $? -eq 0
for _ in $(seq 50); do
  [ -z "$(window_geometry "$NAME - Wine desktop")" ] && break
  sleep 0.2
done
rm -rf "$WORK"
finish
