#!/usr/bin/env bash
# Property check of the whole print path under Wine: 30 generated reports
# (random lengths, form feeds at random rows, at row 0 and exactly at the
# page size, overstrikes of every kind, lines over 511 bytes, control
# bytes) printed through the real DLL in one request; every page of each
# PDF must hold exactly the rows that a small model of the pagination
# rules, written here and not calling the library, puts on it: every line
# on the right page, in order, none lost, none doubled.
source "$(dirname "$0")/lib.sh"

REPORTS=30
SEED=${PLENWICK_SEED:-$RANDOM}
work_folder
print_via "$WINE_HOST"
echo "seed $SEED (PLENWICK_SEED=$SEED repeats this run)"

# Rows on a full page at this point size: the rows that fit in the
# printable height, A4's 3508 units at 49 units a line. The calibration
# report shows where page 2 begins: the page must end after exactly those
# rows, none of them past the lower edge.
ROWS=71
for i in $(seq 200); do printf 'calibration row %03d\r\n' "$i"; done >calib_$$.txt
since=$(last_job_id)
wine_run "$WINBUILD/plenwick_print.exe" -point=10 calib_$$.txt >host.out 2>&1 ||
  fail "host failed: $(cat host.out)"
calib=$(pdfs_titled "$since" calib_$$.txt | head -1)
second=$(pdf_page_text "${calib:-none}" 2 | grep -m1 -o 'row [0-9]*' | grep -o '[0-9]*$')
check "a full page holds the $ROWS rows that fit" [ "$((10#${second:-1} - 1))" = "$ROWS" ]

# The generator writes report_PID_NN.txt; the model writes what each page
# of it must show into expected_NN.txt, pages separated by form feeds. A
# row is compared by its first 40 printable ASCII characters, blanks left
# out: the page may be narrower than a long row, and control bytes,
# bytes above 0x7e and the middle dot print as whatever the font has.
cat >model.pl <<'PERL'
use strict; use warnings;
my ($reports, $rows, $seed, $pid) = @ARGV;
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

for my $n (1 .. $reports) {
  my $report = '';
  my $serial = 0;
  my $since_break = 0;
  my $lines = int(rand(3 * $rows)) + 1;
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
    if (rand() < 0.08 || ($since_break == $rows - 1 && rand() < 0.5) || ($since_break == $rows && rand() < 0.5)) {
      $report .= "\f";
      $since_break = 0;
    }
    $since_break = 0 if $since_break >= $rows;
  }
  $report .= "r" . sprintf("%02d", $n) . " last row\r\n";
  my $name = sprintf("report_%s_%02d.txt", $pid, $n);
  open my $out, '>:raw', $name or die; print $out $report; close $out;
  open my $exp, '>:raw', sprintf("expected_%02d.txt", $n) or die;
  print $exp join("\f", map { join('', map { "$_\n" } grep { $_ ne '' } @$_) } paginate($report));
  close $exp;
}
PERL
perl model.pl "$REPORTS" "$ROWS" "$SEED" $$ || fail "the generator failed"

# What each page of a PDF shows, in the model's form.
cat >actual.pl <<'PERL'
use strict; use warnings;
local $/;
my $text = <STDIN>;
$text =~ s/\f\z//;
my @pages = split /\f/, $text, -1;
print join("\f", map {
  join('', map { my $t = $_; $t =~ s/[^!-~]//g; $t = substr($t, 0, 40); $t eq '' ? () : "$t\n" }
    split /\n/, $_)
} @pages);
PERL

# The model's pages against the PDF's: equal row for row, none missing.
cat >same.pl <<'PERL'
use strict; use warnings;
local $/;
my @files = map { open my $f, '<:raw', $_ or die; my $t = <$f>; close $f; $t } @ARGV;
exit($files[0] eq $files[1] ? 0 : 1);
PERL

reports=()
for n in $(seq -f %02g "$REPORTS"); do reports+=("report_$$_$n.txt"); done
since=$(last_job_id)
wine_run "$WINBUILD/plenwick_print.exe" -point=10 -interactive=none "${reports[@]}" >host.out 2>&1 ||
  fail "host failed: $(cat host.out)"
# True when the PDF of report $1 after job $2 shows what the model expects.
matches_model() {
  local n=$1 since=$2 pdf
  pdf=$(pdfs_titled "$since" "report_$$_$n.txt" | head -1)
  [ -n "$pdf" ] || { echo "report $n: no PDF"; return 1; }
  pdftotext -layout "$pdf" - 2>/dev/null | perl actual.pl >"actual_$n.txt"
  PAGES=$(pdf_pages "$pdf")
  EXPECTED_PAGES=$(($(tr -cd '\f' <"expected_$n.txt" | wc -c) + 1))
  perl same.pl "expected_$n.txt" "actual_$n.txt" && [ "$PAGES" = "$EXPECTED_PAGES" ] && return 0
  echo "report $n: pages $PAGES (model $EXPECTED_PAGES), rows differ (< model, > PDF):"
  diff <(tr '\f' '=' <"expected_$n.txt") <(tr '\f' '=' <"actual_$n.txt") | head -10
  return 1
}

for n in $(seq -f %02g "$REPORTS"); do
  if matches_model "$n" "$since"; then
    echo "ok: report $n: $EXPECTED_PAGES pages, every row where the model puts it"
    continue
  fi
  # Once, under a heavily loaded machine, a row was missing from the text
  # of a PDF and present when the same report was printed again: such a
  # difference is shown and the report printed once more; printed twice
  # wrong, it fails.
  echo "INTERMITTENT? report $n differed; printing it again"
  again=$(last_job_id)
  wine_run "$WINBUILD/plenwick_print.exe" -point=10 -interactive=none "report_$$_$n.txt" \
    >host.out 2>&1 || fail "host failed: $(cat host.out)"
  check "report $n printed again: every row where the model puts it" matches_model "$n" "$again"
done
finish
