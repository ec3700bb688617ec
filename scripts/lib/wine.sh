# Wine for the Windows build trees. Each tree has its own Wine prefix for
# its tests (TREE/wineprefix): a 32-bit one for the i686 tree, as a 32-bit
# Windows would be, and a 64-bit one for the x86-64 tree. A command that
# runs the tree's programs (scripts/print, scripts/bench) has a prefix of
# its own beside it (TREE/wineprefix-COMMAND), so that it never shares a
# Wine server with the tree's tests. Scripts set WINEPREFIX per tree, never
# one for both.

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# The two Windows architectures: "i686" is the 32-bit DLL, "x86-64" the
# 64-bit one. Their build trees are the presets' (CMakePresets.json).
windows_preset() {  # arch
  case "$1" in
    i686) echo win32 ;;
    x86-64) echo win64 ;;
    *) return 1 ;;
  esac
}
wine_arch() {  # arch
  case "$1" in
    i686) echo win32 ;;
    x86-64) echo win64 ;;
  esac
}

# Starts the Wine server once and keeps it, with Wine's own background
# programs (services, devices, and the desktop process that windows need)
# running beside it, their output going nowhere. A test program that had to
# start them itself would hand them its output pipe, and ctest would wait
# for that pipe to close until they ended, some twenty seconds later.
start_wine_in() {  # tree wine-arch [prefix, TREE/wineprefix unless given]
  local tree=$1
  (
    export WINEPREFIX="${3:-$tree/wineprefix}" WINEARCH=$2
    mkdir -p "$tree"
    wineserver -p >/dev/null 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      log_step "creating the $WINEARCH Wine prefix $WINEPREFIX"
    fi
    wineboot -i </dev/null >/dev/null 2>&1
    local pidfile="$WINEPREFIX/keep_desktop.pid"
    if ! { [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; }; then
      setsid wine "$tree/keep_desktop.exe" </dev/null >/dev/null 2>&1 &
      echo $! >"$pidfile"
      sleep 2
    fi
  )
}

# Ends every Wine program of the tree's prefix and its Wine server: they
# all belong to the command that started them there.
stop_wine_in() {  # tree [prefix, TREE/wineprefix unless given]
  local prefix="${2:-$1/wineprefix}"
  [ -d "$prefix" ] || return 0
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1
  rm -f "$prefix/keep_desktop.pid"
}

# Makes the prefix this run's alone. A Wine server learns the print server
# and the display from the run that starts it, and its programs print there
# for as long as it lives: a second run on the same server would wait for
# PDFs that go to the first run's print server. So a run that finds another
# live run on the prefix waits until it ends, and a Wine server left on it
# by a run that was killed is ended first.
claim_wine_prefix() {  # prefix
  local prefix=$1 holder said=""
  while :; do
    holder=$(claim_run_resource wine-prefix "$prefix") && break
    if [ "$said" != "$holder" ]; then
      log_step "waiting for ${holder%% *} (pid ${holder##* }), which runs Wine in $prefix"
      said=$holder
    fi
    sleep 1
  done
  if [ -d "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1
    rm -f "$prefix/keep_desktop.pid"
  fi
}
