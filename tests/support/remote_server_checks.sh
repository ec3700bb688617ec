# Printing to another print server, as to a central CUPS server over IPP,
# whichever library prints (tests/linux and tests/wine
# remote_server_test.sh): a second server of the test's own on another
# loopback port, with queues CENTRAL (its default, a PDF printer) and
# SECURE (the same, but a job there needs a user who gave a password:
# Basic authentication). The library reaches CENTRAL through CUPS_SERVER
# and through a queue of the run's server that forwards to it; the
# document arrives whole, named after the report, with its copies and
# paper. What a queue that wants a password does is the host's (see the
# host's test). Sourced by a shell test standing in its work folder, with
# the kit and a host.

# Jobs on SECURE must come from a user who gave a password; everything
# else, as on the run's server, is open to anyone on loopback.
SECURE_POLICY='<Policy secure>
  JobPrivateAccess all
  JobPrivateValues none
  <Limit Create-Job Print-Job Print-URI Validate-Job Send-Document>
    AuthType Basic
    Require valid-user
    Order deny,allow
  </Limit>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>'

central() { CUPS_SERVER="$REMOTE" "$@"; }

# Starts the central server, stopped when the test ends; REMOTE is its
# address. Its folder is in the build tree: CUPS's own user must reach it
# (its filters run as that user), which a private temporary folder is not.
start_central_server() {
  CENTRAL_DIR="$PLENWICK_BUILD/central-server-$$"
  on_exit 'stop_print_server "$CENTRAL_DIR"; [ -n "${KEEP_WORK:-}" ] || rm -rf "$CENTRAL_DIR"'
  start_print_server "$CENTRAL_DIR" "$SECURE_POLICY" || return 1
  REMOTE="127.0.0.1:$(print_server_port "$CENTRAL_DIR")"
  central make_queue pdf CENTRAL 2>/dev/null &&
    central make_queue pdf SECURE "" -o printer-op-policy=secure 2>/dev/null &&
    central lpadmin -d CENTRAL
}

# "PDF ID" of the first job on the central server after job id $1 whose
# document title is $2 (with or without the parentheses that a title read
# from PostScript keeps).
central_pdf() {  # since title
  local id pdf
  central wait_for_cups >/dev/null
  for id in $(central lpstat -W completed -o | sed -E -n 's/^[^ ]+-([0-9]+) .*/\1/p' | sort -n); do
    [ "$id" -gt "$1" ] || continue
    pdf=$(PDF_OUT="$CENTRAL_DIR/out" job_pdf "$id")
    [[ "$(pdf_title "$pdf")" =~ ^\(?"$2"\)?$ ]] && echo "$pdf $id" && return
  done
}

# The document of REPORT, printed after job SINCE, and its job on the
# central server's queue CENTRAL.
arrives() {  # what report since
  local what=$1 report=$2 found pdf id attributes
  found=$(central_pdf "$3" "$report")
  pdf=${found% *} id=${found##* }
  check "$what: the document arrived" [ -n "$found" ]
  [ -n "$found" ] || return
  # Uncollated copies are the printer's to make: the document has its
  # pages once, and the job asks for two copies.
  check "$what: all 30 pages" [ "$(pdf_pages "$pdf")" = 30 ]
  check "$what: the last page is page 30" grep -q 'page 30 row 20' <<<"$(pdf_page_text "$pdf" 30)"
  check "$what: Letter" [ "$(page_size "$pdf")" = "612 x 792" ]
  attributes=$(job_attributes "$REMOTE" CENTRAL "$id")
  check "$what: the job is named after the report" grep -qx "job-name $report" <<<"$attributes"
  check "$what: two copies" grep -qx 'copies 2' <<<"$attributes"
  # By its IPP name, or by the PPD's (Wine's printing passes that on).
  check "$what: the job asks for Letter" grep -qxE 'media (na_letter_8.5x11in|Letter)' <<<"$attributes"
}

check_remote_server() {  # tag
  local tag=$1 since page row
  if ! start_central_server; then
    fail "the central print server did not start"
    return
  fi
  check "the central server has its queues" bash -c "CUPS_SERVER=$REMOTE lpstat -v | grep -c 'device for' | grep -qx 2"

  # A report of 30 numbered pages, each row naming its page.
  for ((page = 1; page <= 30; page++)); do
    for ((row = 1; row <= 20; row++)); do printf 'page %d row %d\r\n' $page $row; done
    printf '\f'
  done >"$tag-central.txt"
  cp "$tag-central.txt" "$tag-forward.txt"

  # Through CUPS_SERVER: the central server's queues are the printers.
  since=$(central last_job_id)
  CUPS_SERVER="$REMOTE" "${HOST_PRINT[@]}" -copies=2 -form_id=Letter -printer_id=CENTRAL \
    "$tag-central.txt" >host.out 2>&1
  check "CUPS_SERVER: the request returns" [ $? -eq 0 ]
  arrives "CUPS_SERVER" "$tag-central.txt" "$since"

  # Through a queue of the run's own server that forwards to the central
  # one. The queue passes the document on as it came ("raw"): the central
  # server's queue prints it as it prints a job sent to it directly.
  own_queue null "plenwick-forward-$$" "ipp://$REMOTE/printers/CENTRAL" -m raw
  check "the forwarding queue exists" lpstat -p "plenwick-forward-$$"
  since=$(central last_job_id)
  "${HOST_PRINT[@]}" -copies=2 -form_id=Letter -printer_id="plenwick-forward-$$" "$tag-forward.txt" \
    >host.out 2>&1
  check "forwarded: the request returns" [ $? -eq 0 ]
  wait_for_cups "plenwick-forward-$$" >/dev/null
  arrives "forwarded" "$tag-forward.txt" "$since"
}
