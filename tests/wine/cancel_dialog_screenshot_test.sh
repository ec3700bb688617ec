#!/usr/bin/env bash
# The cancel dialog on screen: show_cancel_dialog.exe runs inside a Wine
# virtual desktop (Xvfb has no window manager to draw captions), and a
# screenshot of that desktop goes to $PLENWICK_BUILD/cancel_dialog.png.
source "$(dirname "$0")/lib.sh"

PNG="$WINBUILD/cancel_dialog.png"
work_folder
READY="$WORK/ready"
STOP="$WORK/stop"
rm -f "$PNG"

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

screenshot_desktop "$NAME" Spooling "$PNG" || cat "$WORK/wine.log" >&2

# Ends the program and its desktop.
touch "$STOP"
await_program "$PID" 20 show_cancel_dialog.exe
check "the program and its desktop ended" test $? -eq 0
for _ in $(seq 50); do
  [ -z "$(window_geometry "$NAME - Wine desktop")" ] && break
  sleep 0.2
done
finish
