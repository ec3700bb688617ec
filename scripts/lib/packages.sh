# The Debian packages that the builds, tests and commands need, installed
# with apt-get when missing, and the locales the tests run under. Both steps
# are idempotent.

PACKAGES=(
  cmake make g++ clang clang-format libclang-rt-14-dev libgtest-dev libgmock-dev googletest openjdk-17-jdk-headless
  g++-mingw-w64-i686 wine wine32:i386 g++-mingw-w64-x86-64 wine64 unzip
  cups cups-client cups-bsd cups-ipp-utils printer-driver-cups-pdf libcups2:i386 poppler-utils
  libcups2-dev libcairo2-dev libfontconfig-dev libfreetype-dev fonts-dejavu-core fonts-wqy-microhei pkgconf
  man-db groff-base
  xvfb x11-utils imagemagick avahi-daemon dbus dbus-bin python3-minimal python3 qpdf
  libbenchmark-dev gnuplot-nox time cups-filters bsdextrautils procps ghostscript iproute2
  dpkg-dev file lintian enscript
  libgtk-3-dev xdotool locales
  # The arm64 tree: Debian's cross toolchain, the arm64 libraries beside
  # the machine's own (multiarch), and qemu-user to run what it builds.
  g++-aarch64-linux-gnu qemu-user libcups2-dev:arm64 libcairo2-dev:arm64 libfontconfig-dev:arm64
  libfreetype-dev:arm64
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
  local arch
  for arch in i386 arm64; do
    dpkg --print-foreign-architectures | grep -qx "$arch" || as_root dpkg --add-architecture "$arch"
  done
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
