#!/usr/bin/env bash
# Builds Zandor twice (plain, and with AddressSanitizer + UndefinedBehaviorSanitizer)
# and runs every test under CTest in both builds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for flavour in plain asan; do
  echo "== $flavour build"
  "$here/scripts/setup.sh" "$flavour"
  echo "== $flavour tests"
  ctest --test-dir "$here/build-$flavour" --output-on-failure --parallel "$jobs" --timeout 600
done
