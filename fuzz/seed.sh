#!/usr/bin/env bash
# Makes the seed inputs of the fuzz targets at run time; nothing of them is
# kept in the repository.
#
#   fuzz/seed.sh WORK-DIR [CORPORA-DIR]
#
# WORK-DIR/seeds/<target>/ receive fresh seeds: hand-made records, numbers and
# length fields, the device's side of the golden transcripts under
# tests/link/golden, and the mail messages of CORPORA-DIR (default
# ../shared/corpora beside the project; left out, with a note, when absent).
# WORK-DIR/corpus/<target>/ (what the fuzzer adds) and WORK-DIR/artifacts/
# are made when missing and otherwise kept.
#
# A longer run of one target, e.g. ten minutes:
#   build-fuzz/fuzz/fuzz_receive_phase -max_total_time=600 -jobs=1 -workers=1 \
#     -artifact_prefix=build-fuzz/fuzz/artifacts/receive_phase- \
#     build-fuzz/fuzz/corpus/receive_phase build-fuzz/fuzz/seeds/receive_phase
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=${1:?usage: seed.sh WORK-DIR [CORPORA-DIR]}
corpora=${2:-$here/../../shared/corpora}
targets=(incoming_record lenient_number length_field receive_phase message_reader)

rm -rf "$work/seeds"
for t in "${targets[@]}"; do
  mkdir -p "$work/seeds/$t" "$work/corpus/$t"
done
mkdir -p "$work/artifacts"

if [ ! -d "$corpora" ]; then
  echo "seed.sh: no mail corpora at $corpora; the message reader starts from hand-made messages only"
  corpora=""
fi

perl - "$work/seeds" "$here/../tests/link/golden" "$corpora" <<'PERL'
use strict;
use warnings;
use File::Find;

my ($seeds, $golden, $corpora) = @ARGV;
my %count;

sub seed {
  my ($target, $bytes) = @_;
  my $n = ++$count{$target};
  my $path = sprintf("%s/%s/seed-%04d", $seeds, $target, $n);
  open(my $fh, '>:raw', $path) or die "$path: $!";
  print $fh $bytes;
  close $fh;
}

# A script of reads for the line stand-in: each read as a length byte and its
# bytes, 255 meaning "255 bytes, and the read goes on".
sub reads {
  my $script = '';
  for my $read (@_) {
    my $rest = $read;
    while (length($rest) >= 255) {
      $script .= chr(255) . substr($rest, 0, 255);
      $rest = substr($rest, 255);
    }
    $script .= chr(length $rest) . $rest;
  }
  return $script;
}

# The device's reads of a transcript ("KV" lines), the handshake left out.
sub transcript_reads {
  my ($file) = @_;
  open(my $fh, '<', $file) or die "$file: $!";
  my @lines = grep { /^(PC|KV)  / } <$fh>;
  close $fh;
  shift @lines, shift @lines if @lines >= 2 && $lines[0] =~ /^PC  ACK$/ && $lines[1] =~ /^KV  ACK$/;
  my %names = (NUL => "\x00", ACK => "\x01", ABORT => "\x02", CMD_MESSAGE => "\x0A",
               CMD_REMOVE => "\x0B", CMD_END => "\x0C", CMD_MESSAGE_ID => "\x0D");
  my @reads;
  for my $line (@lines) {
    next unless $line =~ /^KV  (.*)$/;
    my $tokens = $1;
    my $bytes = '';
    while ($tokens =~ /\G\s*("(?:[^"\\]|\\.)*"|\\x[0-9A-Fa-f]{2}|[A-Z_]+)/gc) {
      my $token = $1;
      if ($token =~ /^"(.*)"$/s) {
        my $text = $1;
        $text =~ s/\\(["\\rnt])/{'"' => '"', '\\' => '\\', r => "\r", n => "\n", t => "\t"}->{$1}/ge;
        $bytes .= $text;
      } elsif ($token =~ /^\\x(..)$/) {
        $bytes .= chr(hex $1);
      } else {
        die "$file: unknown token $token" unless exists $names{$token};
        $bytes .= $names{$token};
      }
    }
    push @reads, $bytes;
  }
  return @reads;
}

my @golden_reads;
if (-d $golden) {
  for my $file (sort glob("$golden/*.txt")) {
    push @golden_reads, [transcript_reads($file)];
  }
}

# --- incoming_record: config byte, then the received bytes -----------------
my @records = (
  [1, join("\x1F", 'a' .. 'h')],
  [0, join("\xFE", 'a' .. 'h')],
  [1, "\x1F" x 7],
  [0, "\xFE" x 9 . "tail"],
  [1, "\x1F" x 6],
  [0, "a\x00b\xFEc\xFEd\xFEe\xFEf\xFEg\xFEh\x00ignored"],
  [1, join("\xFE", 'a' .. 'h')],
  [8, "a\xFEb\xFEc\xFEd\xFEe\xFEf\xFEg\xFEh"],
  [2, "\xA1\xA2\xA3\xFE\xFE\xC0\xC1\xFE\x10\x11\x1F\x80\xE7\xFF\xFE\xFE\xFE\xFE"],
  [5, "\xA1\xA2\x1F\x1F\x80\x81\x1F\xE8\xE9\x1F\x1F\x1F\x1F"],
  [6, "Caf\x91\xFE\xFE\xFE\xF0\xF1\xFE\xFE\xFE\xFE"],
);
for my $r (@records) { seed('incoming_record', chr($r->[0]) . $r->[1]); }
for my $set (@golden_reads) {
  for my $read (@$set) {
    my $separators = () = $read =~ /\xFE/g;
    seed('incoming_record', "\x00$read") if $separators >= 6;
  }
}

# --- lenient_number: config byte, then the text -----------------------------
for my $text ('&H1A', '&h7fff', '&O777', '&o', '&', '1 2 3', "2.5e1x", '-', '+', '0', '6', '-1',
              '32767', '32768', '-32768', '-32769', '2.5', '3.5', '-2.5', '0.5', '1e308', '1e309',
              '-1e400', '1e-400', '1e-310', '.5', '+.5e-3', '1.2.3', " \t\n 42 ", '1e', '1e+',
              '0x10', '00000000000000000000000000001', "1\t0\n0", '9' x 400, "\xD9\xA3",
              "\xEF\xBC\x91") {
  seed('lenient_number', "\x00$text");
  seed('lenient_number', "\x01$text");
}

# --- length_field: even config, one field; odd config, a script of reads -----
for my $field ("120\x00", "\x00", "0\x00", "32767\x00", "32768\x00", "00000000032767\x00",
               "12a\x00", "99999999999999999999999\x00", "7") {
  seed('length_field', "\x00$field");
}
for my $script (["12", "0\x00"], ["1", "2", "0", "\x00"], ["", "", "5\x00"], ["120"],
                ["3", "x"], ["\x00"]) {
  seed('length_field', "\x01" . reads(@$script));
}

# --- receive_phase: config byte, line-event byte, a script of reads ---------
my $record7 = join("\xFE", 'Lunch?', '', 'Ann Smith', "Meet at 12:30\r\nat the usual place",
                   '01-Mar-2026 9:00:00', '', '', '');
my $record6 = join("\xFE", 'a' .. 'g');
my @scripts = (
  ["\x0C"],
  ["\x0A", length($record7) . "\x00", $record7, "\x01", "\x01", "\x0C"],
  ["\x0A", "1", length($record7) . "\x00", $record7, "\x01", "\x01", "\x0C"],
  ["\x0D", "20\x00", "1772390000.M1P1.host", "0000000A\x00", "\x0C"],
  ["\x0A", length($record6) . "\x00", $record6],
  ["\x0A", "\x00"],
  ["\x0A", "99999\x00"],
  ["\x0A", "5\x00", "abcdefgh"],
  ["\x0C\x0C"],
  ["\x0B"],
  ["\x0A", length($record7) . "\x00", $record7, "\x01", "\x02"],
);
for my $s (@scripts) {
  seed('receive_phase', "\x00\x00" . reads(@$s));
}
for my $set (@golden_reads) {
  for my $config ("\x00", "\x02", "\x04", "\x18", "\xC0") {
    seed('receive_phase', "$config\x00" . reads(@$set));
  }
  seed('receive_phase', "\x00\x29" . reads(@$set));  # a line error during the phase
}

# --- message_reader: config byte, padding byte, then the message file -------
my @messages = (
  "From: Ann <ann\@example.org>\nTo: Bob <bob\@example.org>, carol\@example.org\nSubject: Hi\n" .
    "Date: Sun, 01 Mar 2026 09:00:00 +0100\n\nHello\nthere\n",
  "Received: from x by y; Sun, 1 Mar 2026 10:00:00 +0000\r\nSubject: =?utf-8?B?0J/RgNC40LLQtdGC?=\r\n" .
    "\r\nCRLF body\r\n",
  "Subject: folded\n  over two lines\nCc: undisclosed-recipients:;\nBcc: \"Q, R\" <q\@r>\n\n",
  "\nbody only\n",
  "Subject: no body",
  "MIME-Version: 1.0\nContent-Type: multipart/alternative; boundary=b\n\n--b\nContent-Type: text/html\n\n" .
    "<p>Hi &amp; bye<br>next</p>\n--b--\n",
  "Content-Type: text/plain; charset=koi8-r\nContent-Transfer-Encoding: quoted-printable\n\n=F0=D2=C9\r\n",
  "Content-Type: text/plain\n\n\xCF\xF0\xE8\xE2\xE5\xF2\r",
);
for my $m (@messages) {
  seed('message_reader', "\x00\x00$m");
  seed('message_reader', "\x30\x40$m");
}
seed('message_reader', "\x10\x3F" . $messages[0]);
seed('message_reader', "\x14\x00" . $messages[1]);

if ($corpora ne '') {
  my @files;
  find({ wanted => sub { push @files, $File::Find::name if -f $_ && -s _ <= 65536 }, no_chdir => 1 },
       $corpora);
  for my $file (sort @files) {
    next if $file =~ /README/;
    open(my $fh, '<:raw', $file) or die "$file: $!";
    local $/;
    my $bytes = <$fh>;
    close $fh;
    seed('message_reader', "\x00\x00$bytes");
  }
}

for my $t (sort keys %count) { printf "seed.sh: %-16s %d seeds\n", $t, $count{$t}; }
PERL
