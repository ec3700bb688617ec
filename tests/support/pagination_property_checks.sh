# Property check of the whole print path, whichever library prints
# (tests/linux and tests/wine pagination_property_test.sh): 30 generated
# reports (random lengths, form feeds at random rows, at row 0 and exactly
# at the page size, or none, overstrikes of every kind, lines over 511 bytes,
# control bytes) and four fixed ones (full pages ended by a form feed on the
# last row's line or on a line of its own, one row over a full page twice,
# 300 rows) printed in one request; every page of each PDF must hold
# exactly the rows that a small model of the pagination rules, written
# here and not calling the library, puts on it: every line on the right
# page, in order, none lost, none doubled. Sourced by a shell test standing
# in its work folder, with the kit and a host. PLENWICK_SEED repeats a run.

# Rows on a full page at 10 points: the rows that fit in the printable
# height, A4's 3508 units at 49 units a line.
ROWS=71

# What each page of PDF $1 shows, in the model's form: a row by its first
# 40 printable ASCII characters, blanks left out (the page may be narrower
# than a long row, and control bytes, bytes above 0x7e and the middle dot
# print as whatever the font has); pages separated by form feeds.
model_form() {  # pdf
  pdftotext -layout "$1" - 2>/dev/null | perl -0777 -ne 's/\f\z//;
    print join("\f", map { join("", map { (my $t = $_) =~ s/[^!-~]//g; $t = substr($t, 0, 40);
      $t eq "" ? () : "$t\n" } split /\n/) } split /\f/, $_, -1)'
}

# True when the PDF of report $1 shows what the model expects.
matches_model() {  # n pdf
  local n=$1 pdf=$2 pages expected_pages
  [ -f "$pdf" ] || { echo "report $n: no PDF"; return 1; }
  model_form "$pdf" >"actual_$n.txt"
  pages=$(pdf_pages "$pdf")
  expected_pages=$(($(tr -cd '\f' <"expected_$n.txt" | wc -c) + 1))
  cmp -s "expected_$n.txt" "actual_$n.txt" && [ "$pages" = "$expected_pages" ] &&
    echo "report $n: $pages pages" && return 0
  echo "report $n: pages $pages (model $expected_pages), rows differ (< model, > PDF):"
  diff <(tr '\f' '=' <"expected_$n.txt") <(tr '\f' '=' <"actual_$n.txt") | head -10
  return 1
}

check_pagination_property() {  # tag
  local tag=$1 reports=30 seed=${PLENWICK_SEED:-$RANDOM} n i names=() numbers=()
  local -A printed
  echo "seed $seed (PLENWICK_SEED=$seed repeats this run)"

  # The calibration report shows where page 2 begins: the page must end
  # after exactly the rows that fit, none of them past the lower edge.
  for n in $(seq 200); do printf 'calibration row %03d\r\n' "$n"; done >"$tag-calibration.txt"
  print_request -point=10 "$tag-calibration.txt"
  check "a full page holds the $ROWS rows that fit" [ "$(first_row "${PDFS[0]:-none}" 2)" = $((ROWS + 1)) ]

  # The generator writes TAG_NN.txt; the model writes what each page of it
  # must show into expected_NN.txt, in model_form's form.
cat >model.pl <<'PERL'
use strict; use warnings;
my ($reports, $rows, $seed, $tag) = @ARGV;  # or: --expect rows report
srand($seed);
sub pick { $_[int(rand(@_))] }
sub row_text { my $t = shift; $t =~ s/[^!-~]//g; return substr($t, 0, 40); }

# Overstrike decoding as the user sees it: a backspace and an underscore
# underline, a backspace and the same character embolden, a backspace and
# m or w give a middle dot, a character struck over a blank takes its cell,
# any other backspace goes; a NUL ends the text.
sub decode {
  my @in = split //, shift;
  my $out = '';
  for (my $i = 0; $i < @in; ) {
    if ($in[$i] ne "\b") { $out .= $in[$i++]; next; }
    last if $i + 1 == @in;
    my $d = $in[$i + 1];
    if ($d eq '_' || (length($out) && $d eq substr($out, -1))) { $i += 2; }
    elsif ($d eq 'm' || $d eq 'w') { $out .= "\xb7"; $i += 2; }
    elsif (length($out) && substr($out, -1) eq ' ') { substr($out, -1) = $d; $i += 2; }
    else { $i += 1; }
  }
  $out =~ s/\0.*//s;
  return $out;
}

# The pages of a report: lines of at most 511 bytes (a line feed counts,
# carriage returns do not), a form feed ends the page, a page holds $rows
# rows and ends when the next row arrives; a form feed before anything was
# printed is dropped.
sub paginate {
  my ($bytes) = @_;
  my @pages;
  my ($page, $row, $started) = (undef, 0, 0);
  my @chars = split //, $bytes;
  my $i = 0;
  while (1) {
    my ($line, $ff) = ('', 0);
    while (length($line) < 511 && $i < @chars) {
      my $c = $chars[$i++];
      if ($c eq "\f") { $ff = 1; last; }
      next if $c eq "\r";
      if ($c eq "\n") { $line .= "\0"; last; }
      $line .= $c;
    }
    last if $line eq '' && !$ff;
    if (!$started && $row == 0 && $ff) { next if $line eq ''; $ff = 0; }
    # A full page ends when the next line that needs a row arrives.
    $row = 0 if $line ne '' && $row >= $rows;
    if ($row == 0) { push @pages, []; $page = $pages[-1]; $started = 1; }
    if ($line ne '') {
      push @$page, row_text(decode($line));
      $row++;
    }
    $row = 0 if $ff;
  }
  return @pages;
}
sub expected { join("\f", map { join('', map { "$_\n" } grep { $_ ne '' } @$_) } paginate($_[0])) }
if ($reports eq '--expect') {
  open my $in, '<:raw', $seed or die; local $/; print expected(<$in>); exit;
}

for my $n (1 .. $reports) {
  my $report = '';
  my $serial = 0;
  my $since_break = 0;
  # Report 1 runs on without form feeds: full pages, each ended by the row
  # that no longer fits.
  my $full = $n == 1;
  my $lines = $full ? 2 * $rows + 1 + int(rand($rows)) : int(rand(3 * $rows)) + 1;
  $report .= "\f" if rand() < 0.3;  # at row 0
  for my $k (1 .. $lines) {
    my $id = sprintf("r%02d.%03d", $n, ++$serial);
    my $kind = int(rand(10));
    if ($kind == 0) {
      my $body = join '', map { $_ % 10 } 0 .. (520 + int(rand(600)));
      $report .= "$id:$body\r\n";
    } elsif ($kind == 1) {
      $report .= join('', map { "$_\b$_" } split //, "$id bold") . "\r\n";
    } elsif ($kind == 2) {
      $report .= join('', map { "$_\b_" } split //, "$id under") . "\r\n";
    } elsif ($kind == 3) {
      $report .= join('', map { "$_\b$_\b_" } split //, "$id both") . " mid\bm dot stray \bqend\b\r\n";
    } elsif ($kind == 4) {
      $report .= "$id ctl" . pick("\x01", "\x07", "\t", "\x1b", "\x7f", "\xe9") . "bytes\r\n";
    } elsif ($kind == 5) {
      $report .= "\r\n";  # an empty row
    } else {
      $report .= "$id plain text of the report\n";
    }
    $since_break++;
    # Form feeds: now and then, and exactly at the page size.
    if (!$full && (rand() < 0.08 || ($since_break == $rows - 1 && rand() < 0.5) ||
                   ($since_break == $rows && rand() < 0.5))) {
      $report .= "\f";
      $since_break = 0;
    }
    $since_break = 0 if $since_break >= $rows;
  }
  $report .= "r" . sprintf("%02d", $n) . " last row\r\n";
  my $name = sprintf("%s_%02d.txt", $tag, $n);
  open my $out, '>:raw', $name or die; print $out $report; close $out;
  open my $exp, '>:raw', sprintf("expected_%02d.txt", $n) or die;
  print $exp expected($report);
  close $exp;
}
PERL
  perl model.pl "$reports" "$ROWS" "$seed" "$tag" || fail "the generator failed"
  for i in 0 1 2; do
    numbered_lines $((i * ROWS + 1)) $((i * ROWS + ROWS - 1))
    printf 'row %03d of the report\f' $((i * ROWS + ROWS))
  done >"${tag}_ff-on-row.txt"
  for i in 0 1 2; do numbered_lines $((i * ROWS + 1)) $((i * ROWS + ROWS)); printf '\f'; done >"${tag}_ff-own-line.txt"
  { numbered_lines 1 $((ROWS + 1)); printf '\f'; numbered_lines $((ROWS + 2)) $((2 * ROWS + 2)); printf '\f'; } \
    >"${tag}_overfull.txt"
  numbered_lines 1 300 >"${tag}_300.txt"
  mapfile -t numbers < <(seq -f %02g "$reports")
  numbers+=(ff-on-row ff-own-line overfull 300)
  for n in "${numbers[@]:reports}"; do perl model.pl --expect "$ROWS" "${tag}_$n.txt" >"expected_$n.txt"; done

  for n in "${numbers[@]}"; do names+=("${tag}_$n.txt"); done
  print_request -point=10 -interactive=none "${names[@]}"
  for n in "${numbers[@]}"; do printed[$n]=$(request_pdf "${tag}_$n.txt"); done
  for n in "${numbers[@]}"; do
    if matches_model "$n" "${printed[$n]}"; then
      echo "ok: report $n: every row where the model puts it"
      continue
    fi
    # Once, under a heavily loaded machine, a row was missing from the text
    # of a PDF and present when the same report was printed again: such a
    # difference is shown and the report printed once more; printed twice
    # wrong, it fails.
    echo "INTERMITTENT? report $n differed; printing it again"
    print_request -point=10 -interactive=none "${tag}_$n.txt"
    check "report $n printed again: every row where the model puts it" matches_model "$n" "${PDFS[0]:-none}"
  done
}
