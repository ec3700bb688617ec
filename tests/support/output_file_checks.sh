# Reports to files (-output), whichever library prints: a file name, used
# again in one request; a folder; a folder missing and one nobody may
# write; SCRATCH. Sourced by a shell test that has the kit, standing in a
# work folder of its own. Wine's PostScript driver writes PostScript to the
# file: Ghostscript makes a PDF of it for the kit's reader.
readable_pdf() {  # file
  if [ "$(head -c 2 "$1" 2>/dev/null)" = '%!' ]; then
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile="$1.read.pdf" "$1" >/dev/null 2>&1
    echo "$1.read.pdf"
  else
    echo "$1"
  fi
}

check_output_files() {  # tag
  local tag=$1 pdf target
  numbered_lines 1 90 >"$tag-rows.txt"
  printf 'B\bBO\bOL\bLD\bD and plain\r\n' >"$tag-bold.txt"
  mkdir -p out folder
  print_request -point=10 -form_id=Letter -output="out/$tag.pdf" "$tag-rows.txt" "$tag-rows.txt" \
    -output=folder/ "$tag-bold.txt"
  check "output: printed, status 0" [ "$PRINT_STATUS" = 0 ]
  check "output: nothing went to the printer" [ ${#PDFS[@]} = 0 ]
  for pdf in "out/$tag.pdf" "out/$tag-2.pdf"; do
    pdf=$(readable_pdf "$pdf")
    check "output: $pdf has two pages, rows 1 to 90" \
      [ "$(pdf_pages "$pdf"):$(first_row "$pdf" 1):$(last_row "$pdf" 2)" = 2:1:90 ]
    check "output: $pdf on Letter" [ "$(page_size "$pdf")" = "612 x 792" ]
  done
  pdf=$(readable_pdf "folder/$tag-bold.pdf")
  check "output: a folder gets a file named after the report" grep -q "BOLD and plain" <(pdftotext "$pdf" -)
  check "output: its bold" pdf_has_face "$pdf" -i bold
  check "output: no file half-written" [ -z "$(find out folder -name '*.partial')" ]

  # A file that cannot be written is a report not printed, kept whatever
  # the disposition; nothing of it stays behind. /proc takes no new files,
  # even from root.
  for target in "missing/$tag.pdf" "/proc/$tag.pdf"; do
    PLENWICK_ANSWER="Error=ok" print_request -disposition=scratch -output="$target" "$tag-bold.txt"
    check "output to $target: told not printed" \
      grep -qF "plenwick: $tag-bold.txt not printed: writing $target" <(told host.out)
    check "output to $target: the report kept" [ -e "$tag-bold.txt" ]
    check "output to $target: nothing there" not ls -d "$target" "$target.partial" missing
  done
  print_request -disposition=scratch -output="$tag-scratch.pdf" "$tag-bold.txt"
  check "output under SCRATCH: the report deleted once its file is whole" \
    [ ! -e "$tag-bold.txt" -a -s "$tag-scratch.pdf" ]

  # An absolute path is a report on Linux; on Windows a slash begins an option.
  numbered_lines 1 3 >"$tag-abs.txt"
  print_request -output="$tag-abs.pdf" "$PWD/$tag-abs.txt"
  if [ "$PRINT_HOST" = jvm ] || [ "$PRINT_HOST" = console ]; then
    check "an absolute path is a report" [ "$(pdf_pages "$tag-abs.pdf")" = 1 ]
  else
    check "a slash begins an option" [ ! -e "$tag-abs.pdf" ]
  fi
}
