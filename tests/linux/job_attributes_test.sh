#!/usr/bin/env bash
# The job's settings reach CUPS as IPP job attributes: copies, collation,
# media, orientation and paper source, read back from the completed job.
source "$(dirname "$0")/lib.sh"

work_folder

# "name value" lines of the job that printed PDF $1.
attributes_of() {
  job_attributes "$(lpstat -H 2>/dev/null)" PDF "$(sed -E -n 's/.*-job_([0-9]+)\.pdf$/\1/p' <<<"$1")"
}

printf 'settings\r\n' >"$TAG-set.txt"
cp "$TAG-set.txt" "$TAG-plain.txt"
print_request "$TAG-plain.txt" -copies=2 -collate -orientation=landscape -form_id=Letter \
  -source=Upper "$TAG-set.txt"

attributes=$(attributes_of "${PDFS[0]:-none}")
check "defaults: one copy" grep -qx 'copies 1' <<<"$attributes"
check "defaults: A4" grep -qx 'media iso_a4_210x297mm' <<<"$attributes"
check "defaults: portrait" grep -qx 'orientation-requested portrait' <<<"$attributes"
check "defaults: the document name is the job name" grep -qx "job-name $TAG-plain.txt" <<<"$attributes"

attributes=$(attributes_of "${PDFS[1]:-none}")
echo "$attributes" | grep -E '^(copies|media|media-source|orientation-requested|multiple-document-handling|document-format) '
check "two copies" grep -qx 'copies 2' <<<"$attributes"
check "collated" grep -qx 'multiple-document-handling separate-documents-collated-copies' <<<"$attributes"
check "Letter" grep -qx 'media na_letter_8.5x11in' <<<"$attributes"
check "landscape" grep -qx 'orientation-requested landscape' <<<"$attributes"
check "the upper bin is the top tray" grep -qx 'media-source top' <<<"$attributes"
check "sent as PostScript to the PostScript printer" \
  grep -qx 'document-format application/postscript' <<<"$attributes"
check "both copies printed" [ "$(pdf_pages "${PDFS[1]:-none}")" = 2 ]

finish
