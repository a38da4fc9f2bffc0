#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; prints one Markdown table
# with the machine it ran on (paste it into docs/benchmarks.md).
#
#   bench/run.sh [--imap] [BUILD_DIR]   default: build-bench-release beside bench/
#
# The benchmarks:
#   line   200 messages to kelvo-sim --pace 38400 over a pseudo-terminal: wall
#          time against the line time of the bytes, and zandor's CPU share;
#          once on a quiet disk, once with two writers keeping it busy
#   small  a day's mail (10 messages): wall minus line time, start to first
#          byte, the gaps between messages, last byte to exit; quiet and busy disk
#   idle   zandor --sync waiting 10 s for a Kelvo that never answers: its CPU
#   watch  zandor --watch waiting 10 minutes for a port that never appears: its CPU
#   large  a whole synchronisation over a 400-message folder in-process
# With --imap (as root: it starts a Dovecot of its own on 127.0.0.1), also:
#   line --imap   the line benchmark with the mail on Dovecot, behind a proxy
#                 that delays each byte 25 ms each way (a 50 ms round trip)
#   small --imap  the small run on Dovecot at 0, 50 and 150 ms round trip
#   large --imap  a 10,000-message folder on Dovecot behind the same proxy:
#                 the count of a 7-day range and a second synchronisation,
#                 each logging in afresh; once with Dovecot's defaults, once
#                 with Dovecot trusting its index of the Maildir
#   mailboxes --imap  an account of 1,000, 4,000 and 20,000 mailboxes on
#                 Dovecot: the time from the start to the opening of the port,
#                 and Zandor's CPU time, which must grow with the mailboxes
# Each line benchmark takes about a minute and a half; the idle one 10 s, the
# watch one 10 minutes (ZANDOR_WATCH_SECONDS shortens it).
# Details go to standard error. Run it on a quiet machine: the figures are
# wall-clock and CPU times.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
imap=0
if [ "${1:-}" = --imap ]; then
  imap=1
  shift
fi
build=${1:-$root/build-bench-release}

mkdir -p "$build"
generator=()
if command -v ninja > /dev/null; then generator=(-G Ninja); fi
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
  -DZANDOR_BUILD_TESTS=ON -DZANDOR_BUILD_BENCH=ON > "$build/bench-configure.log" 2>&1 ||
  { cat "$build/bench-configure.log" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)" --target bench_line bench_large_folder zandor kelvo-sim \
  > "$build/bench-build.log" 2>&1 || { tail -50 "$build/bench-build.log" >&2; exit 1; }

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
status=0
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
"$build/bench/bench_line" line --messages 200 --baud 38400 >> "$rows" || status=1
"$build/bench/bench_line" line --messages 200 --baud 38400 --busy >> "$rows" || status=1
"$build/bench/bench_line" small >> "$rows" || status=1
"$build/bench/bench_line" small --busy >> "$rows" || status=1
"$build/bench/bench_line" idle --seconds 10 >> "$rows" || status=1
"$build/bench/bench_line" watch --seconds "${ZANDOR_WATCH_SECONDS:-600}" >> "$rows" || status=1
"$build/bench/bench_large_folder" --messages 400 --repeat 3 >> "$rows" || status=1
if [ "$imap" = 1 ]; then
  "$build/bench/bench_line" line --messages 200 --baud 38400 --imap --delay-ms 25 >> "$rows" ||
    status=1
  for delay in 0 25 75; do
    "$build/bench/bench_line" small --imap --delay-ms "$delay" >> "$rows" || status=1
  done
  "$build/bench/bench_large_folder" --imap --messages 10000 --repeat 3 >> "$rows" || status=1
  "$build/bench/bench_large_folder" --imap --messages 10000 --repeat 3 --trusted-index \
    >> "$rows" || status=1
  "$build/bench/bench_large_folder" --imap-mailboxes 20000 >> "$rows" || status=1
fi

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
memory=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
commit=$(git -C "$root" rev-parse --short HEAD 2> /dev/null || echo unknown)
echo
echo "Run of $(date -u +%Y-%m-%d) at commit $commit (Release build)."
echo "Machine: $(nproc) cores, $cpu, $memory memory, kernel $(uname -r)."
echo
echo "| measure | value | target | met |"
echo "|---|---|---|---|"
cat "$rows"
exit "$status"
