#!/usr/bin/env bash
# 500 print requests through the real DLL in one host process, on a CUPS
# queue of this test's own that discards its jobs: the process's GDI
# objects, USER objects, kernel handles and private bytes stay flat after
# the first 20 requests.
source "$(dirname "$0")/lib.sh"

REQUESTS=500
work_folder
QUEUE="PLENWICK_NULL_$$"
own_queue null "$QUEUE"
check "discarding queue $QUEUE exists" lpstat -p "$QUEUE"

{
  printf 'H\bHe\bea\bad\bdi\bin\bng\bg\r\n'
  for i in $(seq 30); do printf 'row %d _\bu_\bn_\bd_\be_\br\r\n' "$i"; done
  printf '\f'
  printf '%0700d\r\n' 7
} >soak.txt

print_via "$WINE_HOST"
# Without the cancel dialog: under Wine each dialog costs about two seconds
# (the soak on the simulated Windows has it).
PLENWICK_REPEAT=$REQUESTS wine_run "$WINBUILD/repeat_print.exe" -point=10 -interactive=none \
  -printer_id="$QUEUE" soak.txt >host.out 2>&1 || fail "host failed: $(tail -5 host.out)"
cat host.out

# "after N requests: gdi=G user=U handles=H private=P pagefile=F working=W".
# Wine answers 0 for the GUI resources, the handle count and PrivateUsage;
# its pagefile usage is the process's private memory.
figure() { sed -n -E "s/^after $1 requests: .*\\b$2=([0-9]+).*/\\1/p" host.out; }
for what in gdi user handles; do
  first=$(figure 20 "$what")
  last=$(figure $REQUESTS "$what")
  check "$what after 20 requests ($first) and after $REQUESTS ($last) are the same" \
    test -n "$first" -a "$first" = "$last"
done
first=$(figure 20 pagefile)
last=$(figure $REQUESTS pagefile)
# The C runtime and Wine may keep a little more for themselves; a leak of a
# device context, a font or a report's bytes per request would pass this.
check "private bytes after 20 requests ($first) and after $REQUESTS ($last) within 512 KiB" \
  test -n "$first" -a -n "$last" -a $((${last:-1} - ${first:-0})) -le 524288
finish
