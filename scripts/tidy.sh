#!/usr/bin/env bash
# Runs clang-tidy with the repository's configuration over the program's own
# sources (src/ and sim/). Needs a configured build (scripts/setup.sh plain).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-plain}
[ -f "$build/compile_commands.json" ] || { echo "tidy: configure first: scripts/setup.sh plain" >&2; exit 2; }
cd "$here"
git ls-files 'src/*.cpp' 'sim/*.cpp' | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2>/dev/null |
  tee /dev/stderr | grep -qE '(warning|error):' && { echo "tidy: findings above" >&2; exit 1; }
echo "tidy: clean"
