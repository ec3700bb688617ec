#!/usr/bin/env bash
# The machine's own printing as a run found it and as it left it: whether
# its scheduler answers, its default printer, its queues, and the CUPS
# configuration files in CUPS_ETC (/etc/cups). A run prints only on print
# servers of its own, so none of this may change, whether the machine's
# scheduler runs, is stopped or is not installed.
#
#   system_printing_test.sh --record FILE   writes the state now to FILE
#   system_printing_test.sh FILE            checks that the state is FILE's
#
# printers.conf, classes.conf and subscriptions.conf are left out of the
# file listing: the scheduler itself rewrites them as its printers change
# state; the queues and the default printer they hold are compared through
# lpstat instead.
set -uo pipefail
CUPS_ETC="${CUPS_ETC:-/etc/cups}"

system_printing() {
  # The machine's scheduler, as a user's commands reach it: without the
  # run's CUPS_SERVER.
  echo "scheduler: $(env -u CUPS_SERVER lpstat -r 2>&1)"
  echo "default: $(env -u CUPS_SERVER lpstat -d 2>&1)"
  echo "queues:"
  env -u CUPS_SERVER lpstat -v 2>&1 | sort
  echo "files in $CUPS_ETC:"
  if [ -d "$CUPS_ETC" ]; then
    (cd "$CUPS_ETC" && find . -type f ! -name 'printers.conf*' ! -name 'classes.conf*' \
      ! -name 'subscriptions.conf*' ! -name '*.O' -print0 | sort -z | xargs -0 -r sha256sum)
  else
    echo "(none)"
  fi
}

case "${1:-}" in
  --record)
    system_printing >"${2:?file}"
    ;;
  "")
    echo "usage: $0 [--record] FILE" >&2
    exit 2
    ;;
  *)
    if [ ! -f "$1" ]; then
      echo "FAIL: no record of the machine's printing before the run ($1)" >&2
      exit 1
    fi
    if diff -u "$1" <(system_printing); then
      echo "ok: the machine's printing is as the run found it"
    else
      echo "FAIL: the machine's printing changed during the run (- before, + now)" >&2
      exit 1
    fi
    ;;
esac
