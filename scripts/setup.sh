#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for Zandor and builds it.
#   scripts/setup.sh [plain|asan|demo] [build-dir]
# Installs the Debian packages that are missing (as root, or through sudo),
# configures with CMake and builds. Warnings are errors. plain and asan build
# everything, tests and benchmarks included; demo builds only what the demo
# runs (the program, the simulated Kelvo and the throwaway Dovecot), with the
# packages those need. The package manager's output goes to a log.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-plain}
build=${2:-$here/build-$flavour}

# What the program, the simulator and the demo need...
packages=(
  build-essential cmake ninja-build pkg-config git python3
  qt6-base-dev qt6-serialport-dev libgl-dev libqt6svg6 qtkeychain-qt6-dev
  libgmime-3.0-dev libsqlite3-dev
  libetpan-dev libgnutls28-dev dovecot-core dovecot-imapd openssl
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
)
# ...and what the tests, the benchmarks and the fuzz targets add.
[ "$flavour" = demo ] || packages+=(
  libgtest-dev libgmock-dev libbenchmark-dev
  notmuch xvfb xauth appstream
  clang-14 libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  log=$(mktemp -t zandor-apt.XXXXXX.log)
  echo "setup: installing ${#missing[@]} Debian packages (${missing[*]}); the log is $log"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  if ! { $sudo apt-get update -qq && $sudo apt-get install -y -qq --no-install-recommends \
      "${missing[@]}"; } > "$log" 2>&1; then
    tail -n 20 "$log" >&2
    echo "setup: installing the packages failed; the whole log is $log" >&2
    exit 1
  fi
fi

targets=()
case "$flavour" in
  plain) extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan) extra=(-DCMAKE_BUILD_TYPE=Debug -DZANDOR_SANITIZE=ON -DZANDOR_BUILD_BENCH=OFF) ;;
  demo)
    extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANDOR_BUILD_TESTS=OFF -DZANDOR_BUILD_BENCH=OFF)
    targets=(--target zandor kelvo-sim imap-sandbox)
    ;;
  *) echo "setup: unknown flavour '$flavour' (plain, asan or demo)" >&2; exit 2 ;;
esac

echo "setup: configuring and building in $build"
cmake -S "$here" -B "$build" -G Ninja -DZANDOR_WERROR=ON "${extra[@]}" >/dev/null
if [ "$flavour" != demo ] || [ ! -t 1 ]; then
  cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
  exit 0
fi
# The demo shows one line of progress on a terminal; the compiler's output
# goes to a log, shown when the build fails.
log=$build/build.log
columns=$(( $(tput cols 2>/dev/null || echo 80) - 1 ))
set +o pipefail
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}" 2>&1 | tee "$log" |
  while IFS= read -r line; do
    case "$line" in \[*/*\]*) printf '\r\033[K%s' "${line:0:$columns}" ;; esac
  done
status=${PIPESTATUS[0]}
printf '\r\033[K'
if [ "$status" -ne 0 ]; then
  tail -n 40 "$log" >&2
  echo "setup: the build failed; the whole log is $log" >&2
  exit "$status"
fi
echo "setup: built; the compiler's output is in $log"
