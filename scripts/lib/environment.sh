# What every command loads (scripts/test, print, bench, fuzz, package): the
# source and build folders, the build trees as CMakePresets.json defines
# them, a record of what each run starts, and, each in a file of its own
# beside this one, the packages to install, the virtual display, Wine and
# the print server. Every step is idempotent.

ROOT="${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
# Without "..": the print server refuses a program whose path has one.
BUILD=$(realpath -m -s "${BUILD:-$ROOT/build}")
PLENWICK_LIB="$ROOT/scripts/lib"

log_step() { printf '==> %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# --- build trees: CMakePresets.json is their one definition -------------

# The folder of a configure preset's build tree.
preset_tree() {  # preset
  python3 - "$ROOT/CMakePresets.json" "$1" "$ROOT" <<'PY'
import json, sys
presets = {p["name"]: p for p in json.load(open(sys.argv[1]))["configurePresets"]}
preset = presets[sys.argv[2]]
while "binaryDir" not in preset:
    inherits = preset["inherits"]
    preset = presets[inherits if isinstance(inherits, str) else inherits[0]]
print(preset["binaryDir"].replace("${sourceDir}", sys.argv[3]).replace("${presetName}", sys.argv[2]))
PY
}

# Builds a preset's tree: the targets given, or those of its build preset.
# It is configured from the preset when it never was, or when the presets
# changed since. The output goes to LOG; its end is shown when the build
# fails.
build_preset() {  # preset log [target...]
  local preset=$1 log=$2 tree targets=()
  shift 2
  [ $# -gt 0 ] && targets=(--target "$@")
  tree=$(preset_tree "$preset") || return 1
  mkdir -p "$(dirname "$log")"
  (
    cd "$ROOT" || exit 1
    if [ ! -f "$tree/CMakeCache.txt" ] || [ CMakePresets.json -nt "$tree/CMakeCache.txt" ]; then
      cmake --preset "$preset" || exit 1
    fi
    cmake --build --preset "$preset" "${targets[@]}"
  ) >"$log" 2>&1 || {
    tail -30 "$log" >&2
    echo "building the $preset tree failed (log: $log)" >&2
    return 1
  }
}

# --- what a run started ---------------------------------------------------
# A command records each server it starts (print server, display, Wine
# prefix) in BUILD/runs/COMMAND.PID before starting it, and removes the
# record when it ends. A command killed before it could stop them (a
# caller's timeout ends the command, not what it started) leaves its
# record: the next command ends what it lists, so nothing of a killed run
# answers in place of the next run's own.

RUN_RECORD=""
RUNS_DIR="$BUILD/runs"

# "PID START" of a process (START from /proc: a bare process id may be
# another program's by the time someone reads it).
process_identity() {  # pid
  local stat fields
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  read -r -a fields <<<"${stat##*) }"
  echo "$1 ${fields[19]}"
}

identity_alive() {  # "pid start"
  [ -n "${1%% *}" ] && [ "$(process_identity "${1%% *}")" = "$1" ]
}

# Starts this command's record, after ending what killed runs left.
begin_run() {
  mkdir -p "$RUNS_DIR"
  RUN_RECORD="$RUNS_DIR/$(basename "$0").$$"
  (
    flock 9
    end_killed_runs
    echo "owner $(basename "$0") $(process_identity $$)" >"$RUN_RECORD"
  ) 9>"$RUNS_DIR/lock"
}

end_run() {
  [ -n "$RUN_RECORD" ] && rm -f "$RUN_RECORD"
  RUN_RECORD=""
}

# Notes in the record a server this run starts: "print-server DIR",
# "process PID START" (a display, a test printer), "wine-prefix PREFIX".
# Outside a command (a ctest fixture, which ctest itself stops) nothing is
# recorded.
run_started() {  # kind value
  [ -n "$RUN_RECORD" ] && echo "$1 $2" >>"$RUN_RECORD"
  return 0
}

# Records KIND VALUE as this run's unless a live run holds it already:
# then fails, echoing "COMMAND PID" of that run.
claim_run_resource() {  # kind value
  local claim="$1 $2"
  (
    flock 9
    end_killed_runs
    local record owner
    for record in "$RUNS_DIR"/*.*; do
      [ -f "$record" ] && [ "$record" != "$RUN_RECORD" ] || continue
      grep -qxF "$claim" "$record" || continue
      read -r _ owner < <(grep '^owner ' "$record")
      echo "${owner% *}"
      exit 1
    done
    echo "$claim" >>"$RUN_RECORD"
  ) 9>"$RUNS_DIR/lock"
}

# Ends what each run whose command has gone recorded, and its record.
# Called with the lock.
end_killed_runs() {
  local record name identity kind value
  for record in "$RUNS_DIR"/*.*; do
    [ -f "$record" ] || continue
    read -r _ name identity < <(grep '^owner ' "$record")
    identity_alive "${identity:-}" && continue
    log_step "ending what $name (pid ${identity%% *}), which was killed, left running"
    while read -r kind value; do
      case "$kind" in
        print-server) print_server_running "$value" && stop_print_server "$value" ;;
        process) identity_alive "$value" && kill "${value%% *}" 2>/dev/null ;;
        wine-prefix)
          if [ -d "$value" ]; then
            WINEPREFIX="$value" wineserver -k >/dev/null 2>&1
            rm -f "$value/keep_desktop.pid"
          fi
          ;;
      esac
    done <"$record"
    rm -f "$record"
  done
}

source "$PLENWICK_LIB/packages.sh"
source "$PLENWICK_LIB/display.sh"
source "$PLENWICK_LIB/wine.sh"
source "$PLENWICK_LIB/cups.sh"  # and print_server.sh

# The run's own print server (see print_server.sh), one per command, so that
# scripts/print beside a running scripts/test has a server of its own: the
# "PDF" queue, which keeps each job's document as PDF_OUT/PDF-job_ID.pdf, is
# its default printer. CUPS_SERVER sends every client (lp, lpstat, lpadmin,
# the JVM, Wine) there. The caller stops it with stop_cups (trap it on EXIT).
# A command started by another (scripts/bench by scripts/test) has a server
# of its own, never the one it inherits.
PRINT_SERVER_DIR="${PLENWICK_PRINT_SERVER_DIR:-$BUILD/print-server/$(basename "$0")}"
