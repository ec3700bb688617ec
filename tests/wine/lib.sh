# Shared by the shell tests of the Windows build. They run with
# PLENWICK_ROOT (the sources) and PLENWICK_BUILD (the Windows build tree)
# set by ctest, and with the Wine prefix, display and CUPS that scripts/test
# prepared.
set -uo pipefail

ROOT="${PLENWICK_ROOT:?}"
WINBUILD="${PLENWICK_BUILD:?}"
export WINEPREFIX="${WINEPREFIX:-$WINBUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"

source "$ROOT/tests/support/shell_checks.sh"

# Runs a Windows program of the build tree under Wine.
wine_run() { "$ROOT/scripts/wine-run" "$@"; }
