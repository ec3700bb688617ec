# Shared by the shell tests of the Windows build. They run with
# PLENWICK_ROOT (the sources) and PLENWICK_BUILD (the Windows build tree)
# set by ctest, and with the Wine prefix, display and print server
# (CUPS_SERVER) that the tree's fixtures started (fixture_env.sh).
set -uo pipefail

ROOT="${PLENWICK_ROOT:?}"
WINBUILD="${PLENWICK_BUILD:?}"
source "$ROOT/scripts/lib/fixture_env.sh"
export WINEPREFIX="${WINEPREFIX:-$WINBUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"

source "$ROOT/tests/support/kit.sh"

# The host of the tree's DLL, for print_via (which sets WINEPATH to the
# tree): a test that prints calls print_via "$WINE_HOST".
WINE_HOST=wine$(grep -q 'mingw-x86_64' "$WINBUILD/CMakeCache.txt" 2>/dev/null && echo 64 || echo 32)
TAG="wn$$"

wine_run() { "$ROOT/scripts/wine-run" "$@"; }

# "WxH+X+Y" of the X window with this exact name, placed on the screen,
# empty when there is none.
window_geometry() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | head -1 |
    sed -E 's/.* ([0-9]+x[0-9]+)[-+][0-9]+[-+][0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+) *$/\1+\2+\3/'
}

# Writes a picture of Wine's virtual desktop $1 to $3 and checks that the
# window named $2 on it is not blank (its part of the picture has more than
# one colour). False when the desktop or the window is not on the screen.
screenshot_desktop() {  # desktop-name window-name png
  local desktop window deviation
  desktop=$(window_geometry "$1 - Wine desktop")
  window=$(window_geometry "$2")
  if [ -z "$desktop" ] || [ -z "$window" ]; then
    fail "no desktop or $2 window to take a screenshot of"
    xwininfo -root -tree >&2
    return 1
  fi
  import -window root -crop "$desktop" +repage "$3"
  check "screenshot written" test -s "$3"
  deviation=$(import -window root -crop "$window" +repage png:- |
    convert png:- -format '%[fx:standard_deviation]' info:)
  check "$2 area is not blank (deviation $deviation)" awk -v d="$deviation" 'BEGIN { exit !(d > 0) }'
}

# Waits for the background program $1 to end, about $2 seconds at most, and
# ends it when it does not. Returns its exit status.
await_program() {  # pid seconds what
  local i
  for ((i = 0; i < $2 * 5; i++)); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$1" 2>/dev/null; then
    fail "$3 did not end"
    kill "$1"
  fi
  wait "$1"
}
