# The scenario kit of the shell tests, whichever library prints: a work
# folder, cleanups stacked on exit, queues of a test's own of each kind,
# the host's print command, and one reader of the PDFs printed. Sourced
# through tests/linux/lib.sh or tests/wine/lib.sh, which set the host.
source "${PLENWICK_ROOT:?}/tests/support/shell_checks.sh"

# Cleanups run when the test ends, the last added first: each part of a
# test adds its own instead of writing one trap for all.
EXIT_STACK=()
run_exit_stack() {
  local i
  for ((i = ${#EXIT_STACK[@]} - 1; i >= 0; i--)); do eval "${EXIT_STACK[i]}"; done
}
trap run_exit_stack EXIT
on_exit() { EXIT_STACK+=("$*"); }  # command (a line of shell)

# A folder of the test's own (WORK), gone when it ends (KEEP_WORK=1 keeps
# it, and says where, to look into afterwards); the test stands in it.
work_folder() {
  WORK=$(mktemp -d)
  if [ -n "${KEEP_WORK:-}" ]; then echo "work folder kept: $WORK"; else on_exit 'rm -rf "$WORK"'; fi
  cd "$WORK" || exit 1
}

# A check that must fail on a fault planted in a copy of what it checks:
# ok when COMMAND fails and its output holds EXPECTED.
expect_fault() {  # name expected command...
  local name=$1 expected=$2 output
  shift 2
  if output=$("$@" 2>&1); then
    fail "$name: the check passed"
  elif ! grep -qF -- "$expected" <<<"$output"; then
    fail "$name: expected \"$expected\", got:"$'\n'"$output"
  else
    echo "ok: $name"
  fi
}

# Fresh copies of FOLDERs in $WORK/planted (each under its own name), with
# LINE appended to FILE (a path under that folder, made if missing).
plant() {  # file line folder...
  local file=$1 line=$2
  shift 2
  rm -rf "$WORK/planted" && mkdir -p "$WORK/planted" && cp -r "$@" "$WORK/planted/" || exit 1
  mkdir -p "$(dirname "$WORK/planted/$file")"
  echo "$line" >>"$WORK/planted/$file"
}

# A queue of the test's own named $2, of one kind, its jobs cancelled and
# the queue removed when the test ends. pdf keeps each job's PDF (cups-pdf);
# null discards; ps and pcl are a generic PostScript and a PCL laser
# printer; ipp is an IPP Everywhere printer. The queue goes to URI $3 when
# given (ps, pcl and ipp need one: a printer of start_socket_printer or
# start_kept_ipp_printer); more arguments go to lpadmin.
own_queue() {  # pdf|null|ps|pcl|ipp name [uri [lpadmin-arguments...]]
  local name=$2
  on_exit "cancel -a '$name' 2>/dev/null; remove_queue '$name'"
  make_queue "$@"
}

# A print server of the test's own (scripts/lib/print_server.sh) in
# $WORK/server, gone when the test ends (woken first, should the test have
# stopped it); SERVER_SOCKET is where it listens. With --later it is only
# made ready: run_print_server "$WORK/server" starts it.
own_print_server() {  # [--later]
  chmod 755 "$WORK"  # CUPS's own user runs the filters, in the server's folder
  on_exit 'kill -CONT "$(print_server_pid "$WORK/server")" 2>/dev/null; stop_print_server "$WORK/server"'
  if [ "${1:-}" = --later ]; then
    write_print_server_config "$WORK/server" "$(free_loopback_port)" || return 1
  else
    start_print_server "$WORK/server" || return 1
  fi
  SERVER_SOCKET=$(print_server_socket "$WORK/server")
}

# Sets HOST_PRINT (the command that runs one print request, as an array) and
# PRINT_HOST for the library named: jvm is the Linux library in a Java virtual
# machine; wine32 and wine64 are the DLL of the Windows tree under Wine
# through the console printer (a package's: the program $2, the DLL beside
# it); console is the Linux console printer, plenwick-print (the tree's, or
# the program $2).
print_via() {  # jvm|wine32|wine64|console [program]
  PRINT_HOST=$1
  case $1 in
    jvm) HOST_PRINT=(env ${PRINT_LOCALE:+LANG=$PRINT_LOCALE LC_ALL=$PRINT_LOCALE} java -Xcheck:jni
                     -Djava.library.path="$LIBRARY_DIR" -cp "$NATIVE/java" PlenwickPrint) ;;
    wine32 | wine64)
      if [ $# -gt 1 ]; then
        unset WINEPATH  # the DLL beside the program, no other
        HOST_PRINT=("$ROOT/scripts/wine-run" "$2")
      else
        export WINEPATH
        WINEPATH=$(winepath -w "$WINBUILD")
        HOST_PRINT=("$ROOT/scripts/wine-run" "$WINBUILD/plenwick_print.exe")
      fi ;;
    console) HOST_PRINT=("${2:-$NATIVE/plenwick-print}") ;;
    *) echo "print_via: no host $1" >&2; exit 2 ;;
  esac
}

# No warning of -Xcheck:jni in the virtual machine's output ("WARNING in
# native method: ...", "WARNING: JNI local refs: ...", "Warning: Calling
# other JNI functions ..."). Any other warning there (the machine's own,
# such as a thread it could not start on a loaded machine) is shown, and
# is not the library's.
no_jni_warning() {  # output
  grep -i warning "$1" | grep -v -i -E 'jni|native method' | sed 's/^/  note: /'
  ! grep -i warning "$1" | grep -i -E 'jni|native method' >&2
}

# The console printer of the host set (print_via wine32, wine64 or console)
# answers --help with its usage, prints a report, and for a report that is
# not there exits 1 with the reason on standard error, as lp's users expect.
check_console_printer() {  # tag
  local tag=$1 name help status
  name=$(basename "${HOST_PRINT[-1]}" .exe)
  help=$("${HOST_PRINT[@]}" --help 2>&1)
  status=$?
  check "$name --help succeeds" [ $status -eq 0 ]
  check "$name --help gives its usage" grep -q "^Usage: $name \[OPTIONS\] REPORT" <<<"$help"
  numbered_lines 1 90 >"$tag-console.txt"
  print_request -point=10 "$tag-console.txt"
  check "$name: the report printed, status 0" [ "$PRINT_STATUS" = 0 ]
  check "$name: two pages" [ "$(pdf_pages "${PDFS[0]:-none}")" = 2 ]
  print_request -point=10 "$tag-absent.txt"
  check "$name: a report not there: status 1" [ "$PRINT_STATUS" = 1 ]
  check "$name: the reason on standard error" \
    grep -qxF "plenwick: $tag-absent.txt not printed: no such file" <(tr -d '\r' <host.out)
}

# Whether a host's exit status $1 is that of a request that returned, its
# output in file $2: 0, or 1 from the console printer when a report was not
# printed and it said why, as lp does. (The virtual machine's host exits 0
# whatever printed: the print method returns true.)
request_returned() {  # status output
  [ "$1" -eq 0 ] || { [ "$PRINT_HOST" != jvm ] && [ "$1" -eq 1 ] && grep -q '^plenwick: .* not printed: ' "$2"; }
}

# Prints one request; its output goes to host.out, its exit status to
# PRINT_STATUS, and PDFS holds the PDF of each report file of the request
# that was printed, in order. Other programs print at the same time: a PDF
# is the request's when its title is one of the request's file names (in
# parentheses when cups-pdf took it from the PostScript that CUPS made of
# the Linux library's PDF).
PDFS=()
PRINT_STATUS=0
print_request() {
  local since status arg pdf all=()
  since=$(last_job_id)
  [ "$PRINT_HOST" = jvm ] && print_via jvm  # PRINT_LOCALE may have changed
  "${HOST_PRINT[@]}" "$@" >host.out 2>&1
  status=$?
  PRINT_STATUS=$status
  check "the request returns ($*)" request_returned $status host.out
  request_returned $status host.out || sed 's/^/  host: /' host.out >&2
  [ "$PRINT_HOST" = jvm ] && check "no JNI warning ($*)" no_jni_warning host.out
  PDFS=()
  mapfile -t all < <(pdfs_after_job "$since")
  for pdf in "${all[@]}"; do
    for arg in "$@"; do
      [[ "$arg" != -* && "$(pdf_title "$pdf")" =~ ^\(?"$arg"\)?$ ]] && PDFS+=("$pdf") && break
    done
  done
}

# "name value" lines of the IPP attributes of job $3 on queue $2 of print
# server $1 (host:port, or a local socket as CUPS_SERVER names it).
job_attributes() {  # server queue id
  cat >job.test <<'TEST'
{
  OPERATION Get-Job-Attributes
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri $uri
  ATTR integer job-id $job_id
  ATTR name requesting-user-name $user
  ATTR keyword requested-attributes all
  STATUS successful-ok
}
TEST
  ipptool -tv -d job_id="${3:-0}" "ipp://${1//\//%2F}/printers/$2" job.test |
    sed -E -n 's/^ +([a-z-]+) \([a-zA-Z]+\) = (.*)$/\1 \2/p'
}

# The PDF of report $1 among the last request's PDFS ("none" without one).
request_pdf() {  # report
  local pdf
  for pdf in "${PDFS[@]}"; do
    [[ "$(pdf_title "$pdf")" =~ ^\(?"$1"\)?$ ]] && echo "$pdf" && return
  done
  echo none
}

# The lines the library told the user ("plenwick: ...") in a host's
# standard error: the Linux library writes them there, and the console
# printer passes on what the DLL tells through OutputDebugStringA.
told() {  # file
  tr -d '\r' <"$1" | grep '^plenwick: '
}

# The PDF reader: pages, rows, faces and paper of a printed PDF.
# pdf_pages, pdf_title and pdf_page_text are in shell_checks.sh.
# The numbers of the rows "row NNN" on page $2 of PDF $1 (all pages
# without $2), in order.
row_numbers() {  # pdf [page]
  if [ $# -gt 1 ]; then pdf_page_text "$1" "$2"; else pdftotext -layout "$1" - 2>/dev/null; fi |
    grep -o 'row [0-9]*' | sed 's/row 0*//'
}
first_row() { row_numbers "$@" | head -1; }  # pdf page
last_row() { row_numbers "$@" | tail -1; }   # pdf page
# True when PDF $1 uses a face whose name grep (-E, with the options given)
# finds: pdf_has_face report.pdf -i bold.
pdf_has_face() {  # pdf [grep-options...] regex
  local pdf=$1
  shift
  pdffonts "$pdf" 2>/dev/null | tail -n +3 | grep -q -E "$@"
}
# True when word $2 on page 1 of PDF $1 is underlined: some row of pixels
# across it, in the lowest third of its box or a little below, is dark
# nearly all the way (a glyph's foot leaves gaps between the cells).
pdf_underlined() {  # pdf word
  local box x y w h
  box=$(pdftotext -bbox -f 1 -l 1 "$1" - 2>/dev/null | sed -n -E \
    "s/.*<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">$2<\/word>/\1 \2 \3 \4/p")
  [ -n "$box" ] || return 1
  read -r x y w h < <(awk -v b="$box" 'BEGIN { split(b, v, " "); s = 150 / 72; h = v[4] - v[2]
    printf "%d %d %d %d\n", v[1] * s, (v[4] - h / 3) * s, (v[3] - v[1]) * s, h / 2 * s }')
  pdftoppm -r 150 -gray -x "$x" -y "$y" -W "$w" -H "$h" -f 1 -l 1 -singlefile "$1" |
    convert pgm:- -threshold 50% -scale "1x$h!" -depth 8 txt:- 2>/dev/null |
    awk -F'gray[(]' 'NF > 1 { split($2, v, /[),%]/); if (v[1] + 0 <= 40) dark = 1 } END { exit !dark }'
}
# "W x H" in points of the first page; its rotation.
page_size() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Page size: +([0-9.]+ x [0-9.]+).*/\1/p'; }
page_rotation() { pdfinfo "$1" 2>/dev/null | sed -n -E 's/^Page rot: +//p'; }
# A page seen in landscape: a wide page, or a tall one turned a quarter.
page_is_landscape() {  # pdf
  local size rotation
  size=$(page_size "$1") rotation=$(page_rotation "$1")
  awk -v w="${size%% x *}" -v h="${size##* x }" -v r="${rotation:-0}" \
    'BEGIN { turned = (r % 180 != 0); exit !(w != "" && ((w > h) != turned)) }'
}
