#!/usr/bin/env bash
# Packs the build as a .deb and installs it with `cmake --install`, and checks
# that both put the programs, the desktop entry, the metainfo file, the icons
# and the manual pages in their places, and that the installed zandor runs.
#   tests/install/install_test.sh BUILD-DIR
set -euo pipefail
build=$(cd "${1:?usage: install_test.sh BUILD-DIR}" && pwd)
scratch=$(mktemp -d)
# Installing writes install_manifest.txt into the build tree: put back what was there.
manifest=$build/install_manifest.txt
trap 'if [ -e "$scratch/manifest" ]; then mv -f "$scratch/manifest" "$manifest"
  else rm -f "$manifest"; fi; rm -rf "$scratch"' EXIT
[ ! -e "$manifest" ] || cp -p "$manifest" "$scratch/manifest"

fail() { echo "install_test: $*" >&2; exit 1; }

# Every installed file, relative to the prefix.
expected=(bin/zandor bin/kelvo-sim share/applications/zandor.desktop
  share/metainfo/org.zandor.zandor.metainfo.xml
  share/icons/hicolor/scalable/apps/zandor.svg
  share/man/man1/zandor.1 share/man/man1/kelvo-sim.1 share/man/ru/man1/zandor.1
  share/man/de/man1/zandor.1 lib/systemd/user/zandor-watch.service)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/zandor.png")
done

check_prefix() {  # PREFIX VERSION INSTALLED-PREFIX
  local file
  for file in "${expected[@]}"; do
    [ -f "$1/$file" ] || fail "missing $1/$file"
  done
  [ -x "$1/bin/zandor" ] && [ -x "$1/bin/kelvo-sim" ] || fail "programs in $1/bin not executable"
  [ "$("$1/bin/zandor" --version)" = "zandor $2" ] || fail "$1/bin/zandor --version is wrong"
  grep -qxF "ExecStart=$3/bin/zandor --watch" "$1/lib/systemd/user/zandor-watch.service" ||
    fail "the service in $1 does not run $3/bin/zandor"
}

# The package, made outside the build tree.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$scratch"/pkg/zandor_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one zandor_*.deb, got: ${debs[*]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{ print $1 }')
for lib in libqt6widgets6 libqt6serialport6 libgmime-3.0-0 libsqlite3-0; do
  grep -qxF "$lib" <<<"$depends" || fail "Depends lacks $lib: $(dpkg-deb -f "$deb" Depends)"
done
dpkg-deb -x "$deb" "$scratch/root"
check_prefix "$scratch/root/usr" "$version" /usr

# A plain install into a prefix of one's own.
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
check_prefix "$scratch/prefix" "$version" "$scratch/prefix"
echo "install_test: $(basename "$deb") and cmake --install both complete"
