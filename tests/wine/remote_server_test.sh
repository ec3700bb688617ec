#!/usr/bin/env bash
# The real DLL under Wine printing to another print server: the scenario
# every host runs (tests/support/remote_server_checks.sh; Wine's printing
# reads the printers of the server CUPS_SERVER names), then a queue that
# wants a password, where Wine's printing has no way to answer without
# asking: what it does is recorded here.
source "$(dirname "$0")/lib.sh"
source "$ROOT/tests/support/remote_server_checks.sh"
work_folder
print_via "$WINE_HOST"
# Wine keeps the printers it last found in the prefix: a program started
# on the run's server again finds that server's printers.
on_exit 'wine_run "$WINBUILD/plenwick_print.exe" -printer_id=none-such none-such.txt >/dev/null 2>&1'

check_remote_server "$TAG"
[ -n "${REMOTE:-}" ] || finish

# Wine's printing hands the finished document to libcups with libcups' own
# password callback, which asks on the process's terminal and, without
# one, on standard input: the host does not return (the password question
# stays unanswered). It is stopped after a while; what matters here is
# that nothing printed without a password. The Linux library answers the
# question itself (see the Linux test of the same name).
printf 'secure\r\n' >"$TAG-secure.txt"
CUPS_SERVER="$REMOTE" timeout 20 setsid -w "${HOST_PRINT[@]}" -interactive=none -printer_id=SECURE \
  "$TAG-secure.txt" </dev/null >host.out 2>&1
status=$?
echo "Wine and a queue that wants a password: status $status (124: still waiting after 20 s)"
cat host.out
check "password: no job was printed" bash -c "! CUPS_SERVER=$REMOTE lpstat -W completed -o SECURE | grep -q ."
finish
