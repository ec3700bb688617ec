# A print server of the run's own: a cupsd with its own configuration,
# spool, logs and output folder in one folder, listening on a free loopback
# port and on a local socket there. Whoever starts one stops it; nothing of
# the machine's own printing (its scheduler, /etc/cups, its default printer
# and queues) is read or changed, so a run leaves the machine's printing as
# it found it, and two runs at once each have their own server.
#
# Its programs are the system's filters and backends, with one backend of
# ours: "pdf-sink" keeps each job's document under its job id in the
# server's output folder (DIR/out/QUEUE-job_ID.pdf). It also answers to the
# scheme "cups-pdf", so a queue made as "-v cups-pdf:/" prints to the folder
# of the server it lives on, not to a folder shared by every server.
#
# The folder holds:
#   cupsd.conf, cups-files.conf  the configuration
#   cupsd.pid                    the running cupsd (a test that stops and
#                                starts it again keeps this up to date)
#   server.env                   PRINT_SERVER_SOCKET and PRINT_SERVER_PORT
#   out/                         the documents the jobs printed
#   log/error_log                cupsd's log
# Clients reach it through CUPS_SERVER, which libcups (lp, lpstat, lpadmin,
# the Linux library, Wine's winspool) reads.

PRINT_SERVER_LIB_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# The system's CUPS programs, which the private server runs.
SYSTEM_CUPS_BIN="${SYSTEM_CUPS_BIN:-/usr/lib/cups}"

# A TCP port on loopback that nothing listens on now.
free_loopback_port() {
  local port used
  used=$(ss -Hltn 2>/dev/null | awk '{ n = split($4, a, ":"); print a[n] }')
  for _ in $(seq 200); do
    port=$((20000 + RANDOM % 40000))
    grep -qx "$port" <<<"$used" || { echo "$port"; return 0; }
  done
  return 1
}

# True when every folder from / down to DIR lets others pass: CUPS runs its
# filters as its own unprivileged user, and they read the spooled document,
# the PPD and their temporary files inside the server's folder.
reachable_by_filters() {  # dir
  local d
  d=$(readlink -f "$1") || return 1
  while [ -n "$d" ] && [ "$d" != / ]; do
    [ "$(($(stat -c '0%a' "$d") & 1))" = 1 ] || return 1
    d=${d%/*}
  done
}

# A server folder under a folder others may not enter (a clone made in a
# `mktemp -d` folder is 0700) lives instead in a folder of its own under
# /tmp, and DIR becomes a link to it, so callers still find everything
# under DIR. The folder names its link in "link"; one whose link has gone
# or points elsewhere, with no server running, is left by an earlier run
# and removed here.
relocate_print_server() {  # dir
  local dir=$1 real old
  reachable_by_filters "$dir" && return 0
  for old in /tmp/plenwick-print-server.*; do
    [ -f "$old/link" ] || continue
    [ "$(readlink -f "$(cat "$old/link")" 2>/dev/null)" = "$old" ] && continue
    kill -0 "$(cat "$old/cupsd.pid" 2>/dev/null)" 2>/dev/null && continue
    rm -rf "$old"
  done
  real=$(mktemp -d /tmp/plenwick-print-server.XXXXXX) || return 1
  chmod 755 "$real"
  if [ -d "$dir" ] && [ ! -L "$dir" ]; then
    cp -a "$dir/." "$real/" && rm -rf "$dir" || return 1
  fi
  rm -f "$dir"
  ln -s "$real" "$dir" || return 1
  printf '%s\n' "$(cd "$(dirname "$dir")" && pwd)/$(basename "$dir")" >"$real/link"
  reachable_by_filters "$dir" || {
    echo "the print server's folder $real cannot be reached by CUPS's filters" >&2
    return 1
  }
}

# Writes the configuration of a server in DIR listening on PORT. EXTRA is
# more cupsd.conf text (say a Location that wants a password).
write_print_server_config() {  # dir port [extra]
  local dir port=$2 extra=${3:-} socket
  mkdir -p "$1" && relocate_print_server "$1" || return 1
  dir=$(readlink -f "$1")
  mkdir -p "$dir"/{out,log,spool,cache,state,tmp,ppd,bin/backend} || return 1
  # A local socket's path has room for about a hundred characters; a deep
  # folder gets its socket in a temporary folder of its own.
  socket="$dir/cups.sock"
  if [ ${#socket} -gt 100 ]; then
    if [ -f "$dir/server.env" ] && grep -q '^PRINT_SERVER_SOCKET=' "$dir/server.env"; then
      socket=$(sed -n 's/^PRINT_SERVER_SOCKET=//p' "$dir/server.env")
    else
      socket="$(mktemp -d /tmp/plenwick-cups.XXXXXX)/cups.sock" || return 1
    fi
  fi
  # Filters run as CUPS's own user and write their temporary files here.
  chmod 1777 "$dir/tmp"
  local link entry
  for link in cgi-bin daemon driver filter monitor notifier; do
    [ -e "$SYSTEM_CUPS_BIN/$link" ] && ln -sfn "$SYSTEM_CUPS_BIN/$link" "$dir/bin/$link"
  done
  for entry in "$SYSTEM_CUPS_BIN"/backend/*; do
    case "$(basename "$entry")" in cups-pdf | pdf-sink) continue ;; esac
    ln -sfn "$entry" "$dir/bin/backend/$(basename "$entry")"
  done
  # A backend only its owner may run is run as that owner (root when the
  # server runs as root), as cups-pdf is: CUPS's own user might not reach
  # the output folder.
  install -m 0700 "$PRINT_SERVER_LIB_DIR/pdf-sink" "$dir/bin/backend/pdf-sink" || return 1
  ln -sfn pdf-sink "$dir/bin/backend/cups-pdf"

  cat >"$dir/cups-files.conf" <<EOF
ServerRoot $dir
ServerBin $dir/bin
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
SystemGroup $(id -gn)
FileDevice Yes
EOF
  cat >"$dir/cupsd.conf" <<EOF
LogLevel warn
MaxLogSize 0
Listen 127.0.0.1:$port
Listen $socket
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
DefaultAuthType Basic
PreserveJobHistory Yes
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
$extra
EOF
  printf 'PRINT_SERVER_SOCKET=%s\nPRINT_SERVER_PORT=%s\n' "$socket" "$port" >"$dir/server.env"
}

print_server_socket() { sed -n 's/^PRINT_SERVER_SOCKET=//p' "$1/server.env" 2>/dev/null; }
print_server_port() { sed -n 's/^PRINT_SERVER_PORT=//p' "$1/server.env" 2>/dev/null; }
print_server_pid() { cat "$1/cupsd.pid" 2>/dev/null; }

print_server_running() {  # dir
  local pid
  pid=$(print_server_pid "$1")
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null &&
    lpstat -h "$(print_server_socket "$1")" -r 2>/dev/null | grep -q 'is running'
}

# Starts the cupsd of DIR (configured already) in a session of its own, so
# that it outlives a test that started it again, and waits until it answers
# on its socket and owns its port. False, with cupsd's log, when it does not.
run_print_server() {  # dir
  local dir=$1 pid port socket i
  socket=$(print_server_socket "$dir")
  port=$(print_server_port "$dir")
  rm -f "$socket"
  setsid cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" </dev/null \
    >>"$dir/log/cupsd.out" 2>&1 &
  pid=$!
  echo "$pid" >"$dir/cupsd.pid"
  for i in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    if lpstat -h "$socket" -r 2>/dev/null | grep -q 'is running' &&
        ss -Hltnp "sport = :$port" 2>/dev/null | grep -q "pid=$pid,"; then
      return 0
    fi
    sleep 0.1
  done
  echo "the print server in $dir did not start:" >&2
  tail -5 "$dir/log/error_log" "$dir/log/cupsd.out" >&2 2>/dev/null
  stop_print_server "$dir"
  return 1
}

# A new server in DIR on a free port (another, should a run beside this one
# take the port first). Echoes nothing; see server.env for where it is.
start_print_server() {  # dir [extra cupsd.conf text]
  local dir=$1 extra=${2:-} port attempt
  stop_print_server "$dir"
  for attempt in 1 2 3 4 5; do
    port=$(free_loopback_port) || return 1
    write_print_server_config "$dir" "$port" "$extra" || return 1
    run_print_server "$dir" && return 0
    grep -q 'Unable to open listen socket' "$dir/log/error_log" 2>/dev/null || return 1
    : >"$dir/log/error_log"
  done
  return 1
}

# Stops the cupsd of DIR, if it runs, and waits until it has gone.
stop_print_server() {  # dir
  local dir=$1 pid
  pid=$(print_server_pid "$dir")
  [ -n "$pid" ] || return 0
  if kill "$pid" 2>/dev/null; then
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null
  fi
  rm -f "$dir/cupsd.pid"
}

# --- a print server across a network: a server of DIR behind
# delay_proxy.py, a loopback TCP proxy that passes every byte on a fixed
# time after it came. Its clients reach it with CUPS_SERVER=127.0.0.1:PORT.

# Starts the proxy in front of the server of DIR with a delay of MS each
# way; echoes "PID PORT" (its process and the port it listens on).
start_delay_proxy() {  # dir one-way-ms
  local out pid port=""
  out=$(mktemp) || return 1
  python3 "$(dirname "${BASH_SOURCE[0]}")/delay_proxy.py" "$(print_server_port "$1")" "$2" >"$out" \
    2>>"$1/log/delay_proxy.log" </dev/null &
  pid=$!
  for _ in $(seq 100); do
    port=$(head -1 "$out")
    [ -n "$port" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$out"
  [ -n "$port" ] || { kill "$pid" 2>/dev/null; return 1; }
  echo "$pid $port"
}

# The lines the server of DIR has written to its access log so far; with
# "AccessLogLevel all" in its configuration it logs every request.
access_log_length() { wc -l <"$1/log/access_log" 2>/dev/null || echo 0; }

# How many IPP requests the server of DIR logged after line $2 of its
# access log (HTTP requests such as a PPD fetched are not counted). The
# server logs a request once it has answered it, which may be just after
# its client has the answer: the count is taken once the log stands still.
ipp_requests_since() {  # dir line
  local count last=-1
  for _ in $(seq 50); do
    count=$(tail -n +"$(($2 + 1))" "$1/log/access_log" | awk '$(NF - 1) != "-"' | wc -l)
    [ "$count" = "$last" ] && break
    last=$count
    sleep 0.1
  done
  echo "$count"
}

# --- the print server of a command (scripts/print, scripts/bench) or of a
# tree's tests (tests/fixtures/fixtures.sh): PRINT_SERVER_DIR, see
# environment.sh, which has cups.sh (make_queue) too.

start_cups() {  # [--fresh]: a server without the queues of an earlier run
  # The same command running already (two prints at once) keeps its server.
  print_server_running "$PRINT_SERVER_DIR" && PRINT_SERVER_DIR="$PRINT_SERVER_DIR-$$"
  [ "${1:-}" = --fresh ] && { stop_print_server "$PRINT_SERVER_DIR"; rm -rf "$PRINT_SERVER_DIR"; }
  mkdir -p "$PRINT_SERVER_DIR"
  run_started print-server "$PRINT_SERVER_DIR"
  start_print_server "$PRINT_SERVER_DIR" || return 1
  export PRINT_SERVER_DIR
  export CUPS_SERVER PDF_OUT="$PRINT_SERVER_DIR/out"
  CUPS_SERVER=$(print_server_socket "$PRINT_SERVER_DIR")
  log_step "print server $CUPS_SERVER (127.0.0.1:$(print_server_port "$PRINT_SERVER_DIR"))"
  if ! lpstat -p PDF >/dev/null 2>&1; then
    make_queue pdf PDF 2>/dev/null || return 1
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
