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
# Third stage: the libFuzzer targets, built with clang, each run briefly over
# seeds made at run time (fuzz/seed.sh). -Werror stays off here: clang warns
# where gcc does not, and this stage is about faults, not style.
echo "== fuzz build (clang)"
cmake -S "$here" -B "$here/build-fuzz" -G Ninja -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DZANDOR_BUILD_FUZZ=ON -DZANDOR_BUILD_TESTS=OFF \
  -DZANDOR_BUILD_BENCH=OFF -DZANDOR_WERROR=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build-fuzz" --target zandor_fuzz --parallel "$jobs"
echo "== fuzz smoke runs"
ctest --test-dir "$here/build-fuzz" -L fuzz --output-on-failure --timeout 600
