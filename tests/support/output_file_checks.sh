# Reports to files (-output), whichever library prints. Wine's PostScript
# driver writes PostScript to the file: Ghostscript makes a PDF of it.
readable_pdf() {  # file
  [ "$(head -c 2 "$1" 2>/dev/null)" = '%!' ] || { echo "$1"; return; }
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile="$1.read.pdf" "$1" >/dev/null 2>&1
  echo "$1.read.pdf"
}

check_output_files() {  # tag
  local tag=$1 pdf target
  numbered_lines 1 90 >"$tag-rows.txt"
  printf 'B\bBO\bOL\bLD\bD and plain\r\n' >"$tag-bold.txt"
  mkdir -p out folder
  print_request -point=10 -form_id=Letter -output="out/$tag.pdf" "$tag-rows.txt" "$tag-rows.txt" \
    -output=folder/ "$tag-bold.txt"
  check "output: printed, nothing to the printer" [ "$PRINT_STATUS:${#PDFS[@]}" = 0:0 ]
  for pdf in "out/$tag.pdf" "out/$tag-2.pdf"; do
    pdf=$(readable_pdf "$pdf")
    check "output: $pdf: two pages, rows 1 to 90, Letter" [ "$(pdf_pages "$pdf"):$(first_row "$pdf" 1):$(
      last_row "$pdf" 2):$(page_size "$pdf")" = "2:1:90:612 x 792" ]
  done
  pdf=$(readable_pdf "folder/$tag-bold.pdf")
  check "output: a folder gets the report's name" grep -q "BOLD and plain" <(pdftotext "$pdf" -)
  check "output: bold" pdf_has_face "$pdf" -i bold
  check "output: no file half-written" [ -z "$(find out folder -name '*.partial')" ]
  # Not written (/proc takes no file, even from root): told, kept, nothing left.
  for target in "missing/$tag.pdf" "/proc/$tag.pdf"; do
    PLENWICK_ANSWER="Error=ok" print_request -disposition=scratch -output="$target" "$tag-bold.txt"
    check "output to $target: told" grep -qF "$tag-bold.txt not printed: writing $target" <(told host.out)
    check "output to $target: report kept, nothing there" \
      [ -e "$tag-bold.txt" -a ! -e "$target" -a ! -e "$target.partial" -a ! -e missing ]
  done
  print_request -disposition=scratch -output="$tag-scratch.pdf" "$tag-bold.txt"
  check "output: SCRATCH deletes once the file is whole" [ ! -e "$tag-bold.txt" -a -s "$tag-scratch.pdf" ]
  numbered_lines 1 3 >"$tag-abs.txt"
  print_request -output="$tag-abs.pdf" "$PWD/$tag-abs.txt"
  if [ "$PRINT_HOST" = jvm ] || [ "$PRINT_HOST" = console ]; then
    check "an absolute path is a report on Linux" [ -s "$tag-abs.pdf" ]
  else
    check "a slash begins an option on Windows" [ ! -e "$tag-abs.pdf" ]
  fi
}
