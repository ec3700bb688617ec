# A second print server of a test's own that plays a central CUPS server:
# queues CENTRAL (its default, a PDF printer) and SECURE (the same, but a
# job there needs a user who gave a password: Basic authentication). Shared
# by the Linux library's and the DLL's tests of printing to another server.
# Needs scripts/lib/cups.sh (shell_checks.sh sources it).

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

# Starts the central server in DIR (which CUPS's own user must reach: its
# filters run as that user) with its two queues; REMOTE is its address.
start_central_server() {  # dir
  CENTRAL_DIR=$1
  start_print_server "$CENTRAL_DIR" "$SECURE_POLICY" || return 1
  REMOTE="127.0.0.1:$(print_server_port "$CENTRAL_DIR")"
  central lpadmin -p CENTRAL -E -v cups-pdf:/ -P "$CUPS_PDF_PPD" 2>/dev/null &&
    central lpadmin -p SECURE -E -v cups-pdf:/ -P "$CUPS_PDF_PPD" -o printer-op-policy=secure 2>/dev/null &&
    central lpadmin -d CENTRAL
}

# Runs a command as a client of the central server.
central() { CUPS_SERVER="$REMOTE" "$@"; }

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
