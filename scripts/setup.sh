#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for Zandor and builds it.
#   scripts/setup.sh [plain|asan] [build-dir]
# Installs the Debian packages that are missing (as root, or through sudo),
# configures with CMake and builds. Warnings are errors.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-plain}
build=${2:-$here/build-$flavour}

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-serialport-dev libgl-dev libqt6svg6 qtkeychain-qt6-dev
  libgmime-3.0-dev libsqlite3-dev
  libetpan-dev libgnutls28-dev dovecot-core dovecot-imapd openssl
  libgtest-dev libgmock-dev libbenchmark-dev
  notmuch xvfb xauth appstream
  clang-14 libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

case "$flavour" in
  plain) extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan) extra=(-DCMAKE_BUILD_TYPE=Debug -DZANDOR_SANITIZE=ON -DZANDOR_BUILD_BENCH=OFF) ;;
  *) echo "setup: unknown flavour '$flavour' (plain or asan)" >&2; exit 2 ;;
esac

cmake -S "$here" -B "$build" -G Ninja -DZANDOR_WERROR=ON "${extra[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
