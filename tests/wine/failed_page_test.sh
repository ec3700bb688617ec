#!/usr/bin/env bash
# A page the spooler cannot take. The host may write only 200 KB, so Wine's
# spool file fills up and EndPage fails a few pages into a long report. The
# user is told in a box; the document is abandoned: no job, whole or half,
# reaches CUPS; the report (SCRATCH) is kept; and the next request prints.
# The queue is this test's own.
source "$(dirname "$0")/lib.sh"

work_folder
QUEUE="PLENWICK_PAGE_$$"
own_queue pdf "$QUEUE"
check "queue exists" lpstat -p "$QUEUE"
print_via "$WINE_HOST"

# 40 pages of 60 full rows: far more than 200 KB once spooled.
row=$(printf '%080d' 0)
for ((page = 1; page <= 40; page++)); do
  for ((line = 1; line <= 60; line++)); do printf 'page %d row %d %s\r\n' $page $line "$row"; done
  printf '\f'
done >long.txt

# The Wine server and services keep the prefix's files: they start first,
# without the limit, and the limited host joins them.
wineserver -p 20 </dev/null >/dev/null 2>&1
wine_run "$WINBUILD/plenwick_print.exe" --help >/dev/null 2>&1
since=$(last_job_id)
(
  trap '' XFSZ # a write past the limit fails instead of killing the host
  ulimit -f 200
  exec env PLENWICK_DEBUG="$WORK/limited.log" PLENWICK_ANSWER="Error=ok" timeout 100 "$ROOT/scripts/wine-run" \
    "$WINBUILD/plenwick_print.exe" -point=10 -interactive=none -disposition=scratch \
    -printer_id="$QUEUE" long.txt
) </dev/null >host.out 2>&1
status=$?
check "the host returned, its status saying a report was not printed ($status)" [ "$status" -eq 1 ]
check "the reason is on standard error" \
  grep -q "^plenwick: long.txt not printed: EndPage returned 0 (Unknown spooler error)." host.out
check "EndPage failed partway" grep -q "EndPage failed" limited.log
# What the user sees: the failed call and the spooler's reason, in a box
# (Wine titles a box without a caption "Error").
check "the user is told" grep -q "^plenwick: Error: EndPage returned 0 (Unknown spooler error)." host.out
check "the report is kept" test -f long.txt
sleep 2
check "no job of it reached CUPS" [ -z "$(lpstat -W all -o "$QUEUE" 2>/dev/null)" ]

# The next request, without the limit, prints.
printf 'after the failed page\r\n' >next.txt
env PLENWICK_DEBUG="$WORK/next.log" timeout 100 "$ROOT/scripts/wine-run" "$WINBUILD/plenwick_print.exe" \
  -point=10 -interactive=none -printer_id="$QUEUE" next.txt >host2.out 2>&1
pdf=$(pdfs_on_queue "$since" "$QUEUE" next.txt | head -1)
check "the next request prints" grep -q "after the failed page" <<<"$(pdf_page_text "${pdf:-none}" 1)"
[ "$FAILURES" -eq 0 ] || { cat host.out host2.out; tail -5 limited.log; }
finish
