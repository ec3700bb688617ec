# Shared by scripts/test, scripts/print and scripts/bench: installs what the
# builds and tests need from Debian's packages, starts a print server of the
# run's own with the "PDF" queue, and a virtual display for Wine. Every step
# is idempotent.

ROOT="${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
# Without "..": the print server refuses a program whose path has one.
BUILD=$(realpath -m -s "${BUILD:-$ROOT/build}")

log_step() { printf '==> %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

PACKAGES=(
  cmake make g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev googletest openjdk-17-jdk-headless
  g++-mingw-w64-i686 wine wine32:i386 g++-mingw-w64-x86-64 wine64 unzip
  cups cups-client cups-bsd cups-ipp-utils printer-driver-cups-pdf libcups2:i386 poppler-utils
  libcups2-dev libcairo2-dev libfontconfig-dev libfreetype-dev fonts-dejavu-core fonts-wqy-microhei pkgconf
  man-db groff-base
  xvfb x11-utils imagemagick avahi-daemon dbus dbus-bin python3-minimal python3 qpdf
  libbenchmark-dev gnuplot-nox time cups-filters bsdextrautils procps ghostscript iproute2
  dpkg-dev file lintian
  libgtk-3-dev xdotool locales
)

# Locales the tests run under besides C: Turkish folds I and i apart, and
# German writes a decimal comma. Nothing the library compares or reads may
# change under them. Wine takes its ANSI and OEM code pages from the locale:
# Russian gives 1251 and 866, Polish 1250 and 852, for reports written on
# such systems.
TEST_LOCALES=(tr_TR.UTF-8 de_DE.UTF-8 ru_RU.UTF-8 pl_PL.UTF-8)

ensure_packages() {
  local missing=()
  local package
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  if [ ${#missing[@]} -eq 0 ]; then ensure_locales; return; fi
  log_step "installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -q >/dev/null
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${missing[@]}" >/dev/null
  ensure_locales
}

# Generates the test locales that are not there yet (locale -a lists a
# generated UTF-8 locale as tr_TR.utf8).
ensure_locales() {
  local wanted=() name
  for name in "${TEST_LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qix "${name%%.*}\.utf-\?8" || wanted+=("$name")
  done
  [ ${#wanted[@]} -eq 0 ] && return 0
  log_step "generating the locales ${wanted[*]}"
  for name in "${wanted[@]}"; do
    as_root sed -i "s/^# *\(${name//./\\.} UTF-8\)\$/\1/" /etc/locale.gen
    grep -qx "${name//./\\.} UTF-8" /etc/locale.gen || echo "$name UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  done
  as_root locale-gen >/dev/null
}

source "$ROOT/scripts/lib/print_server.sh"

# The run's own print server (see print_server.sh), one per command, so that
# scripts/print beside a running scripts/test has a server of its own: the
# "PDF" queue, which keeps each job's document as PDF_OUT/PDF-job_ID.pdf, is
# its default printer. CUPS_SERVER sends every client (lp, lpstat, lpadmin,
# the JVM, Wine) there. The caller stops it with stop_cups (trap it on EXIT).
# A command started by another (scripts/bench by scripts/test) has a server
# of its own, never the one it inherits.
PRINT_SERVER_DIR="${PLENWICK_PRINT_SERVER_DIR:-$BUILD/print-server/$(basename "$0")}"

start_cups() {  # [--fresh]: a server without the queues of an earlier run
  # The same command running already (two prints at once) keeps its server.
  print_server_running "$PRINT_SERVER_DIR" && PRINT_SERVER_DIR="$PRINT_SERVER_DIR-$$"
  [ "${1:-}" = --fresh ] && { stop_print_server "$PRINT_SERVER_DIR"; rm -rf "$PRINT_SERVER_DIR"; }
  mkdir -p "$PRINT_SERVER_DIR"
  start_print_server "$PRINT_SERVER_DIR" || return 1
  export PRINT_SERVER_DIR
  export CUPS_SERVER PDF_OUT="$PRINT_SERVER_DIR/out"
  CUPS_SERVER=$(print_server_socket "$PRINT_SERVER_DIR")
  log_step "print server $CUPS_SERVER (127.0.0.1:$(print_server_port "$PRINT_SERVER_DIR"))"
  if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || return 1
  fi
  cupsenable PDF && cupsaccept PDF && lpadmin -d PDF
}

stop_cups() { stop_print_server "$PRINT_SERVER_DIR"; }

# The DNS-SD service that IPP Everywhere printers register with (the test
# printer, ippeveprinter, will not start without it). It runs on the
# loopback interface only, so nothing is announced beyond this machine.
start_dns_sd() {
  if avahi-daemon --check 2>/dev/null; then return 0; fi
  mkdir -p "$BUILD"
  # The daemons are the machine's: two runs starting at once would each
  # clear what the other had just started. One starts them, the other
  # then finds them running.
  (
    flock -w 60 9
    start_dns_sd_daemons
  ) 9>"${TMPDIR:-/tmp}/plenwick-dns-sd.lock"
}

start_dns_sd_daemons() {
  local conf="$BUILD/avahi-daemon.conf"
  if avahi-daemon --check 2>/dev/null; then return 0; fi
  printf '%s\n' '[server]' 'allow-interfaces=lo' 'use-ipv6=no' '[wide-area]' \
    'enable-wide-area=no' '[publish]' 'publish-hinfo=no' 'publish-workstation=no' >"$conf"
  # A socket left by a bus that is gone (a machine image taken while it
  # ran) would keep avahi from starting: only a bus that answers counts.
  if ! system_bus_answers; then
    log_step "starting the system message bus"
    as_root mkdir -p /run/dbus
    as_root rm -f /run/dbus/pid /run/dbus/system_bus_socket
    as_root dbus-daemon --system --fork
    for _ in $(seq 25); do system_bus_answers && break; sleep 0.2; done
  fi
  log_step "starting avahi-daemon (loopback only)"
  as_root avahi-daemon -D -f "$conf" --no-rlimits
  for _ in $(seq 25); do avahi-daemon --check 2>/dev/null && return 0; sleep 0.2; done
  echo "avahi-daemon did not start" >&2
  return 1
}

system_bus_answers() {
  dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetId >/dev/null 2>&1
}

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

# Each Windows build tree has its own Wine prefix (TREE/wineprefix): a 32-bit
# one for the i686 tree, as a 32-bit Windows would be, and a 64-bit one for
# the x86-64 tree. Scripts set WINEPREFIX per tree, never one for both.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# The two Windows architectures: build tree, toolchain file, Wine prefix
# architecture. "i686" is the 32-bit DLL, "x86-64" the 64-bit one.
windows_tree() {  # arch
  case "$1" in
    i686) echo "$BUILD/win" ;;
    x86-64) echo "$BUILD/win64" ;;
    *) return 1 ;;
  esac
}
windows_toolchain() {  # arch
  case "$1" in
    i686) echo "$ROOT/cmake/mingw-i686.cmake" ;;
    x86-64) echo "$ROOT/cmake/mingw-x86_64.cmake" ;;
  esac
}
wine_arch() {  # arch
  case "$1" in
    i686) echo win32 ;;
    x86-64) echo win64 ;;
  esac
}

build_native() {
  cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Debug -DPLENWICK_WERROR=ON >/dev/null &&
    cmake --build "$BUILD/native" -j"$(nproc)"
}

# The Linux library as it is shipped: optimised, in a tree of its own that
# builds only what the Debian packages hold (no tests), so that installing
# there (cpack) builds nothing else either.
build_native_package() {
  cmake -S "$ROOT" -B "$BUILD/native-package" -DCMAKE_BUILD_TYPE=Release -DPLENWICK_WERROR=ON \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null &&
    cmake --build "$BUILD/native-package" -j"$(nproc)" --target debian_package_files
}

# The Debian packages of that tree (CPack); echoes their paths.
package_native() {
  local tree="$BUILD/native-package"
  rm -rf "$tree/package"
  (cd "$tree" && cpack -G DEB -B "$tree/package" >"$tree/cpack.log" 2>&1) || {
    cat "$tree/cpack.log" >&2
    return 1
  }
  ls "$tree"/package/*.deb
}

build_sanitize() {
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD/sanitize" -DCMAKE_BUILD_TYPE=Debug \
    -DPLENWICK_SANITIZE=ON -DPLENWICK_FUZZ=ON -DPLENWICK_WERROR=ON >/dev/null &&
    cmake --build "$BUILD/sanitize" -j"$(nproc)"
}

# The tests on the simulated Windows under ThreadSanitizer (ctest label
# simulated_windows): the library called from many threads at once.
build_tsan() {
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD/tsan" -DCMAKE_BUILD_TYPE=Debug \
    -DPLENWICK_TSAN=ON -DPLENWICK_WERROR=ON >/dev/null &&
    cmake --build "$BUILD/tsan" -j"$(nproc)" --target native_tests
}

build_windows() {  # [arch], i686 unless given
  local arch=${1:-i686}
  cmake -S "$ROOT" -B "$(windows_tree "$arch")" -DCMAKE_TOOLCHAIN_FILE="$(windows_toolchain "$arch")" \
    -DCMAKE_BUILD_TYPE=Release -DPLENWICK_WERROR=ON >/dev/null &&
    cmake --build "$(windows_tree "$arch")" -j"$(nproc)"
}
build_windows64() { build_windows x86-64; }

# The ZIP of a built Windows tree (CPack); echoes its path.
package_windows() {  # arch
  local tree
  tree=$(windows_tree "$1")
  rm -rf "$tree/package"
  (cd "$tree" && cpack -G ZIP >/dev/null) || return 1
  ls "$tree"/package/PLENWICKDLL-*.zip
}

# Starts the Wine server once and keeps it, with Wine's own background
# programs (services, devices, and the desktop process that windows need)
# running beside it, their output going nowhere. A test program that had to
# start them itself would hand them its output pipe, and ctest would wait
# for that pipe to close until they ended, some twenty seconds later.
start_wine() {  # [arch], i686 unless given
  local arch=${1:-i686}
  start_wine_in "$(windows_tree "$arch")" "$(wine_arch "$arch")"
}

start_wine_in() {  # tree wine-arch
  local tree=$1
  (
    export WINEPREFIX="$tree/wineprefix" WINEARCH=$2
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
stop_wine_in() {  # tree
  local pidfile="$1/wineprefix/keep_desktop.pid"
  [ -d "$1/wineprefix" ] || return 0
  WINEPREFIX="$1/wineprefix" wineserver -k >/dev/null 2>&1
  WINEPREFIX="$1/wineprefix" wineserver -w >/dev/null 2>&1
  rm -f "$pidfile"
}
