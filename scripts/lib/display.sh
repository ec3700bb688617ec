# A virtual display for Wine's windows and message boxes, of this command's
# own unless one answers already: Xvfb takes a display number nothing uses
# (-displayfd), so two runs at once each have theirs. DISPLAY_PID is the
# server this command started; stop_display ends it.

DISPLAY_PID=""
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local number
  number=$(mktemp) || return 1
  # A session of its own: the display outlives a test that started it, and
  # holds none of its output pipes.
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" </dev/null \
    >/dev/null 2>&1 &
  DISPLAY_PID=$!
  # A command killed before it could stop the display leaves it to the next.
  run_started process "$(process_identity "$DISPLAY_PID")"
  # Xvfb writes the number and a newline once it accepts clients.
  for _ in $(seq 100); do
    grep -q '^[0-9][0-9]*$' "$number" && break
    kill -0 "$DISPLAY_PID" 2>/dev/null || break
    sleep 0.1
  done
  if ! grep -q '^[0-9][0-9]*$' "$number"; then
    rm -f "$number"
    echo "Xvfb did not start" >&2
    stop_display
    return 1
  fi
  export DISPLAY=":$(cat "$number")"
  rm -f "$number"
  log_step "Xvfb on $DISPLAY"
}

stop_display() {
  [ -n "$DISPLAY_PID" ] || return 0
  kill "$DISPLAY_PID" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$DISPLAY_PID" 2>/dev/null || break; sleep 0.1; done
  DISPLAY_PID=""
}
