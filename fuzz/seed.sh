#!/usr/bin/env bash
# Makes the seed inputs of the fuzz targets at run time; nothing of them is
# kept in the repository.
#
#   fuzz/seed.sh WORK-DIR [CORPORA-DIR]
#
# WORK-DIR/seeds/<target>/ receive fresh seeds: a few hand-made cases, the
# device's side of the golden transcripts under tests/sync/golden, and the mail
# messages of CORPORA-DIR (default ../shared/corpora beside the project; left
# out, with a note, when absent). WORK-DIR/corpus/<target>/ (what the fuzzer
# adds) and WORK-DIR/artifacts/ are made when missing and otherwise kept.
#
# A longer run of one target, e.g. ten minutes:
#   build-fuzz/fuzz/fuzz_receive_phase -max_total_time=600 \
#     -artifact_prefix=build-fuzz/fuzz/artifacts/receive_phase- \
#     build-fuzz/fuzz/corpus/receive_phase build-fuzz/fuzz/seeds/receive_phase
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=${1:?usage: seed.sh WORK-DIR [CORPORA-DIR]}
corpora=${2:-$here/../../shared/corpora}
rm -rf "$work/seeds"
mkdir -p "$work"/{seeds,corpus}/{length_field,receive_phase,message_reader} "$work/artifacts"
[ -d "$corpora" ] || echo "seed.sh: no mail corpora at $corpora; hand-made messages only"

exec perl - "$work/seeds" "$here/../tests/sync/golden" "$corpora" <<'PERL'
use strict;
use warnings;
use File::Find;
my ($seeds, $golden, $corpora) = @ARGV;
my %count;
sub seed {
  my ($target, @inputs) = @_;
  for (@inputs) {
    my $path = sprintf("%s/%s/seed-%04d", $seeds, $target, ++$count{$target});
    open(my $fh, '>:raw', $path) or die "$path: $!";
    print $fh $_;
  }
}
# A script of reads (fuzz_support.h): each read as a length byte and its
# bytes; every read here is shorter than 255 bytes.
sub reads { join '', map { length() < 255 ? chr(length) . $_ : die "long read: $_" } @_ }

# The device's reads ("KV" lines) of each golden transcript, less the handshake.
my %names = (NUL => "\x00", ACK => "\x01", ABORT => "\x02", CMD_MESSAGE => "\x0A",
             CMD_REMOVE => "\x0B", CMD_END => "\x0C", CMD_MESSAGE_ID => "\x0D");
my %escapes = ('"' => '"', '\\' => '\\', r => "\r", n => "\n", t => "\t");
my @transcripts;
for my $file (sort glob("$golden/*.txt")) {
  open(my $fh, '<', $file) or die "$file: $!";
  my @reads = map {
    my $bytes = '';
    while (/\G\s*(?:"((?:[^"\\]|\\.)*)"|\\x([0-9A-Fa-f]{2})|([A-Z_]+))/gc) {
      $bytes .= defined $1 ? $1 =~ s/\\(.)/$escapes{$1}/gr
              : defined $2 ? chr(hex $2) : $names{$3} // die "$file: unknown token $3";
    }
    $bytes;
  } grep { s/^KV  // } <$fh>;
  shift @reads if @reads && $reads[0] eq "\x01";
  push @transcripts, \@reads;
}

# length_field: even config, one field; odd config, a script of reads.
seed('length_field', map({ "\x00$_" } "120\x00", "\x00", "32768\x00", "0032767\x00", "1a\x00", "7"),
     map { "\x01" . reads(@$_) } ["12", "0\x00"], ["1", "2", "", "0", "\x00"], ["120"], ["3", "x"]);
# receive_phase: config byte, line-event byte, a script of reads.
seed('receive_phase', map({ "\x00\x00" . reads(@$_) } ["\x0C"], ["\x0A", "99999\x00"],
                          ["\x0A", "5\x00", "abcdefgh"], ["\x0B"]),
     map { my $t = reads(@$_); map { "$_$t" } "\x00\x00", "\x02\x00", "\x18\x00", "\xC0\x00",
                                               "\x00\x29" } @transcripts);
# message_reader: config byte, padding byte, then the message file.
my @messages = ("From: Ann <ann\@example.org>\nTo: Bob <b\@b.org>, c\@example.org\nSubject: Hi\n" .
                  "Date: Sun, 01 Mar 2026 09:00:00 +0100\n\nHello\nthere\n",
                "Received: from x by y; Sun, 1 Mar 2026 10:00:00 +0000\r\n" .
                  "Subject: =?utf-8?B?0J/RgNC40LLQtdGC?=\r\n\r\nCRLF body\r\n",
                "Subject: folded\n  over\nCc: undisclosed-recipients:;\nContent-Type: text/html; " .
                  "charset=koi8-r\n\n<p>&amp; \xF0\xD2<br>x</p>\r");
seed('message_reader', map { ("\x00\x00$_", "\x30\x40$_", "\x14\x3F$_") } @messages);
find({ no_chdir => 1, wanted => sub {
  return if !-f || -s _ > 65536 || /README/;
  open(my $fh, '<:raw', $_) or die "$_: $!";
  seed('message_reader', "\x00\x00" . do { local $/; <$fh> });
} }, $corpora) if -d $corpora;
printf "seed.sh: %-16s %d seeds\n", $_, $count{$_} for sort keys %count;
PERL
