#!/usr/bin/env bash
# plenwick-dialogs on a display of the test's own, driven as a user would:
# the library's lines on its input, keys pressed with xdotool, its answers
# read back. Leaves one picture of each kind of dialog in the build tree.
ROOT="${PLENWICK_ROOT:?}"
TREE="${PLENWICK_BUILD:?}"
source "$ROOT/tests/support/kit.sh"
source "$ROOT/scripts/lib/environment.sh"
PROGRAM="$TREE/plenwick-dialogs"
work_folder
# Never the desktop of whoever runs the test: a display of its own.
unset DISPLAY WAYLAND_DISPLAY
start_display || exit 1
on_exit 'exec 7>&- 2>/dev/null; stop_display'

TAB=$'\t'
PID=""
STATUS=""

# Starts the program of kind $1 on a pipe the test holds open (fd 7), so it
# sees the end of its input only when the test says so.
start_program() {  # kind
  rm -f "$WORK/in" "$WORK/out" "$WORK/err"
  mkfifo "$WORK/in"
  "$PROGRAM" "$1" <"$WORK/in" >"$WORK/out" 2>"$WORK/err" &
  PID=$!
  exec 7>"$WORK/in"
}
send() { printf '%s\n' "$@" >&7; }
# Waits for the program to end (killing it after 10 s); STATUS is its status.
end_program() {
  local _
  exec 7>&-
  for _ in $(seq 100); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
  kill "$PID" 2>/dev/null
  wait "$PID"
  STATUS=$?
  cat "$WORK/err" >>"$WORK/all-err"
}
answer() { tr '\t' '|' <"$WORK/out"; }
# Finds the window titled exactly $1, gives it the focus and presses the
# keys (XTEST events: there is no window manager to pass them on).
# WINDOW is the window found.
WINDOW=""
press() {  # title key...
  WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
  if [ -z "$WINDOW" ]; then
    echo "no window titled $1" >&2
    return 1
  fi
  xdotool windowfocus --sync "$WINDOW" 2>/dev/null
  sleep 0.3
  shift
  [ $# -eq 0 ] || xdotool key --delay 150 "$@"
}
screenshot() { import -window root "$TREE/dialogs_$1.png"; }
wait_for_output() { wait_until 10 grep -sqx "$1" "$WORK/out"; }  # text

# --- message boxes ----------------------------------------------------------
# 10,000 characters each: words, and one word longer than any line.
long_text=$(printf 'word%.0s ' $(seq 2000))
long_word=$(head -c 10000 /dev/zero | tr '\0' x)
# The whole box on the 1024x768 screen, its buttons with it.
on_screen() {  # window
  local WIDTH=0 HEIGHT=100000 X Y SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  [ "$WIDTH" -le 1024 ] && [ "$HEIGHT" -le 768 ]
}
# name | buttons | default | close | icon | keys | answer
while IFS='|' read -r name buttons default close icon keys expected; do
  [ -n "$name" ] || continue
  start_program message
  text="The answer to $name."
  [ "$name" = long-text ] && text=$long_text
  [ "$name" = long-word ] && text=$long_word
  send "caption${TAB}Box $name" "text${TAB}$text" "buttons${TAB}$buttons" "default${TAB}$default" \
    "icon${TAB}$icon" "frobnicate${TAB}an unknown verb is passed over"
  [ -n "$close" ] && send "close${TAB}$close"
  # A line of a megabyte, of a verb nobody knows, is read whole and passed over.
  [ "$name" = long-text ] && send "frobnicate${TAB}$(head -c 1000000 /dev/zero | tr '\0' x)"
  send show
  press "Box $name" || true
  case $name in
    long-*) check "message $name: the box fits the screen ($(xdotool getwindowgeometry "$WINDOW" | tail -1))" \
      on_screen "$WINDOW" ;;
  esac
  # shellcheck disable=SC2086
  press "Box $name" $keys
  end_program
  check "message $name: answers $expected (got $(answer), status $STATUS)" \
    [ "$(answer)" = "answer|$expected" ] && [ "$STATUS" = 0 ]
done <<'CASES'
ok-enter|0|0||information|Return|1
ok-escape-without-close-value|0|0||none|Escape|1
ok-cancel-enter|1|0|2|question|Return|1
ok-cancel-escape|1|0|2|question|Escape|2
ok-cancel-alt-c|1|0|2|warning|alt+c|2
ok-cancel-second-default|1|1|2|warning|Return|2
ok-cancel-tab-to-cancel|1|0|2|warning|Tab Return|2
yes-no-enter|4|0|7|question|Return|6
yes-no-alt-n|4|0|7|question|alt+n|7
yes-no-escape-close-value|4|0|7|question|Escape|7
yes-no-cancel-third-default|3|2|2|question|Return|2
abort-retry-ignore-alt-i|2|0|3|error|alt+i|5
retry-cancel-enter|5|0|2|error|Return|4
cancel-try-continue-alt-t|6|0|2|warning|alt+t|10
cancel-try-continue-third|6|2|2|warning|Return|11
unknown-buttons-value-is-ok|99|7||error|Return|1
long-text|1|0|2|information|alt+o|1
long-word|1|0|2|information|Escape|2
CASES

# A box left on screen for its picture.
start_program message
send "caption${TAB}Can't Open Printer" "text${TAB}Can't open printer \"nowhere\"." "buttons${TAB}1" \
  "icon${TAB}error" "close${TAB}2" show
press "Can't Open Printer" && screenshot message
press "Can't Open Printer" Escape
end_program

# The library gone before the answer: the answer cannot be written, and the
# program still ends normally. It starts with SIGPIPE's default action, as
# a program started by a host that does not ignore it would.
rm -f "$WORK/in" "$WORK/gone"
mkfifo "$WORK/in" "$WORK/gone"
env --default-signal=PIPE "$PROGRAM" message <"$WORK/in" >"$WORK/gone" 2>"$WORK/err" &
PID=$!
exec 7>"$WORK/in"
exec 8<"$WORK/gone"
exec 8<&-
send "caption${TAB}Nobody listens" show
press "Nobody listens" Return
end_program
check "message: an answer nobody reads ends the program normally (status $STATUS)" [ "$STATUS" = 0 ]

# --- Print Setup ------------------------------------------------------------
setup_lines=(
  "printer${TAB}alpha${TAB}First queue" "printer${TAB}beta${TAB}Second queue" "printer${TAB}gamma${TAB}"
  "paper${TAB}alpha${TAB}9${TAB}A4" "paper${TAB}alpha${TAB}1${TAB}Letter"
  "paper${TAB}beta${TAB}1${TAB}Letter" "paper${TAB}beta${TAB}5${TAB}Legal"
  "paper${TAB}gamma${TAB}8${TAB}A3" "paper${TAB}nobody${TAB}3${TAB}Tabloid"
)
# name | selected printer, paper, orientation | keys | answer
while IFS='|' read -r name selected keys expected; do
  [ -n "$name" ] || continue
  start_program setup
  send "${setup_lines[@]}" "selected${TAB}${selected//,/$TAB}" show
  # shellcheck disable=SC2086
  press "Print Setup" $keys
  end_program
  check "setup $name: answers $expected (got $(answer), status $STATUS)" \
    [ "$(answer)" = "$expected" ] && [ "$STATUS" = 0 ]
done <<'CASES'
unchanged-with-enter|beta,5,2|Return|ok|beta|5|2
unchanged-with-alt-o|alpha,1,1|alt+o|ok|alpha|1|1
down-enter-picks-the-next-printer|alpha,1,1|Down Return|ok|beta|1|1
down-alt-o-picks-the-next-printer|alpha,1,2|Down alt+o|ok|beta|1|2
a-paper-the-next-lacks-gives-its-first|alpha,9,1|Down Return|ok|beta|1|1
the-paper-follows-each-printer|gamma,8,1|Up Up Return|ok|alpha|1|1
landscape-by-mnemonic|alpha,9,1|alt+l Return|ok|alpha|9|2
portrait-by-mnemonic|alpha,9,2|alt+r Return|ok|alpha|9|1
an-unlisted-printer-opens-on-the-first|nowhere,9,1|Return|ok|alpha|9|1
a-selected-paper-the-printer-lacks-gives-its-first|beta,9,1|Return|ok|beta|1|1
escape-cancels|beta,5,1|Down Escape|cancel
alt-c-cancels|beta,5,1|alt+c|cancel
enter-on-a-focused-cancel-cancels|beta,5,1|Tab Tab Tab Return|cancel
CASES

start_program setup
send "${setup_lines[@]}" "selected${TAB}beta${TAB}5${TAB}2" show
press "Print Setup" && screenshot setup
press "Print Setup" Escape
end_program

start_program setup
send "selected${TAB}beta${TAB}5${TAB}2" show
press "Print Setup" Return
press "Print Setup" Escape
end_program
check "setup without printers: only cancel ($(answer))" [ "$(answer)" = cancel ]

# A name with a backslash, a line break and a tab comes back escaped as it came.
start_program setup
send "printer${TAB}odd\\\\b\\name\\twith tab${TAB}desc" "paper${TAB}odd\\\\b\\name\\twith tab${TAB}9${TAB}A4" show
press "Print Setup" Return
end_program
check "setup: an odd printer name comes back whole ($(cat "$WORK/out"))" \
  [ "$(cat "$WORK/out")" = "ok${TAB}odd\\\\b\\name\\twith tab${TAB}9${TAB}1" ]

# A name that is no UTF-8 (Latin-1 here) shows as well as it can and comes
# back byte for byte.
start_program setup
send "printer${TAB}caf"$'\xe9'"${TAB}"$'\xff' "paper${TAB}caf"$'\xe9'"${TAB}9${TAB}A4"$'\xe9' show
press "Print Setup" Return
end_program
check "setup: a Latin-1 name comes back as it came ($(od -An -c "$WORK/out" | tr -s ' '))" \
  [ "$(cat "$WORK/out")" = "ok${TAB}caf"$'\xe9'"${TAB}9${TAB}1" ]

# --- a dialog from a template -----------------------------------------------
start_program dialog
send "caption${TAB}Spooling" "text${TAB}100${TAB}Quarterly report" "text${TAB}101${TAB}Press to cancel job" \
  "button${TAB}2${TAB}&Cancel${TAB}1" "button${TAB}7${TAB}S&top && wait${TAB}0" \
  "text${TAB}102${TAB}version_2.5 & more" show
check "dialog: ready once the window is up" wait_for_output ready
window=$(xdotool search --name '^Spooling$' 2>/dev/null | head -1)
check "dialog: titled with its caption" [ -n "$window" ]
send "caption${TAB}Spooling page 2 of 500" "text${TAB}100${TAB}Quarterly report, page 2" \
  "text${TAB}999${TAB}no such item"
caption_is() { [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ]; }
check "dialog: the caption follows the library ($(xdotool getwindowname "$window" 2>/dev/null))" \
  wait_until 5 caption_is "Spooling page 2 of 500"
sleep 0.3
screenshot dialog
# keys | the command they send
while IFS='|' read -r keys expected; do
  : >"$WORK/out.before"
  cp "$WORK/out" "$WORK/out.before"
  # shellcheck disable=SC2086
  press "Spooling page 2 of 500" $keys
  for _ in $(seq 30); do [ "$(wc -l <"$WORK/out")" -gt "$(wc -l <"$WORK/out.before")" ] && break; sleep 0.1; done
  got=$(tail -n +"$(($(wc -l <"$WORK/out.before") + 1))" "$WORK/out" | tr '\t' '|' | paste -sd' ')
  check "dialog: $keys sends $expected (got $got)" [ "$got" = "$expected" ]
done <<'CASES'
Return|command|2
Escape|command|2
alt+c|command|2
alt+t|command|7
CASES
check "dialog: the window stays until the input ends" kill -0 "$PID"
check "dialog: ready was said once" [ "$(grep -cx ready "$WORK/out")" = 1 ]
end_program
check "dialog: the end of the input ends the program (status $STATUS)" [ "$STATUS" = 0 ]

# GTK warns of what it was given wrongly (text that is no UTF-8, a widget
# used wrongly): none of it in any of the dialogs above. A machine without a
# session bus has no accessibility bus either, which the accessibility
# bridge says (dbind): that is the machine's, not the dialogs'.
grep -E 'WARNING|CRITICAL' "$WORK/all-err" | grep -v 'dbind-WARNING' >"$WORK/warnings"
check "no GTK warning on any dialog ($(head -1 "$WORK/warnings"))" [ ! -s "$WORK/warnings" ]

# --- without a display, or without a dialog to show -------------------------
# kind | environment | input | status
while IFS='|' read -r kind environment input expected; do
  [ -n "$expected" ] || continue
  printf '%b' "$input" | env $environment "$PROGRAM" $kind >"$WORK/out" 2>"$WORK/err"
  STATUS=$?
  check "$kind with '$environment': status $expected, nothing answered (status $STATUS, $(wc -c <"$WORK/out") bytes)" \
    [ "$STATUS" = "$expected" ] && [ ! -s "$WORK/out" ]
done <<'CASES'
message|-u DISPLAY|caption\tX\nshow\n|3
setup|-u DISPLAY|printer\ta\t\nshow\n|3
dialog|-u DISPLAY|caption\tX\nshow\n|3
message|DISPLAY=:nowhere|show\n|3
message||caption\tX\n|4
setup|||4
dialog||text\t1\tno show\n|4
nonsense||show\n|2
||show\n|2
CASES

finish
