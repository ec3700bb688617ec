# Reports that are not there to be read whole, whichever library prints:
# sourced by a shell test that has HOST_PRINT (the command that runs one
# print request, as an array), check and the PDF readers, standing in a
# work folder of its own. SLOW_READS, when the host has it, is the
# environment that makes it read the report "replaced" slowly enough to be
# replaced while it prints.
PRINT_ENV=()
SLOW_READS=()

# Runs one request with the log in $1, in the environment PRINT_ENV adds;
# returns the host's status. A host that hangs is ended after two minutes.
print_logged() {  # log args...
  local log=$1
  shift
  env ${PRINT_ENV[@]+"${PRINT_ENV[@]}"} PLENWICK_DEBUG="$PWD/$log" timeout 120 "${HOST_PRINT[@]}" "$@" \
    >"$log.out" 2>&1
}

# Waits for a line in a log, about $3 seconds at most.
await_line() {  # file text seconds
  local i
  for ((i = 0; i < $3 * 10; i++)); do
    grep -qF -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

check_unreadable_reports() {  # tag
  local tag=$1 since started pdf

  # Only regular files are read: a FIFO (as the report and as the
  # configuration file) and /dev/zero are refused at once, as files that
  # cannot be opened, and the request goes on with its next report.
  mkfifo "$tag-fifo.txt"
  ln -s /dev/zero "$tag-zero.txt"
  printf 'after them\r\n' >"$tag-after.txt"
  since=$(last_job_id)
  started=$SECONDS
  print_logged special.log -disposition=scratch -config="$tag-fifo.txt" -point=10 \
    "$tag-fifo.txt" "$tag-zero.txt" "$tag-after.txt"
  check "a FIFO and /dev/zero: the request returns at once ($((SECONDS - started)) s)" \
    request_returned $? special.log.out
  check "the FIFO as configuration file is refused" grep -q "config $tag-fifo.txt: cannot be read, error 5" special.log
  check "the FIFO as report is refused" grep -q "lopen($tag-fifo.txt) failed because of error 5" special.log
  check "/dev/zero as report is refused" grep -q "lopen($tag-zero.txt) failed because of error 5" special.log
  check "the report after them printed" [ -n "$(pdfs_titled "$since" "$tag-after.txt")" ]
  check "the FIFO is kept" [ -p "$tag-fifo.txt" ]

  # A report replaced at its name while it prints (a new one moved into
  # its place): the printed one comes out whole, the new one is kept under
  # SCRATCH, and the log says why.
  numbered_lines 1 8000 >"$tag-replaced.txt"
  since=$(last_job_id)
  PRINT_ENV=(${SLOW_READS[@]+"${SLOW_READS[@]}"})
  print_logged replaced.log -disposition=scratch -point=10 "$tag-replaced.txt" &
  local host=$!
  PRINT_ENV=()
  if await_line replaced.log "Printing $tag-replaced.txt (page 2)" 60; then
    printf 'the new report\r\n' >"$tag-new.txt"
    mv "$tag-new.txt" "$tag-replaced.txt"
  fi
  wait $host
  check "replaced: the request returns" [ $? -eq 0 ]
  check "replaced: the new report is kept" grep -q "the new report" "$tag-replaced.txt"
  check "replaced: the log says why" \
    grep -q "Keeping $tag-replaced.txt: it is no longer the file that was printed" replaced.log
  pdf=$(pdfs_titled "$since" "$tag-replaced.txt" | head -1)
  check "replaced: the printed report came out whole (113 pages)" [ "$(pdf_pages "${pdf:-none}")" = 113 ]
}
