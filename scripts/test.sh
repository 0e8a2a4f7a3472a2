#!/usr/bin/env bash
# Installs what the tests need, builds Kelvaro with its tests (warnings
# are errors) in build/ and runs the tests of the groups named, or of
# all: several at once, each test waiting only for the builds it uses.
# Groups (docs/testing.md): unit format e2e sanitize web package windows
# arm64 release debian.
# Usage: scripts/test.sh [GROUP...]     e.g. scripts/test.sh web e2e
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
groups=(unit format e2e sanitize web package windows arm64 release debian)

for group in "$@"; do
  [[ " ${groups[*]} " == *" $group "* ]] || { echo "usage: $0 [GROUP...]; the groups: ${groups[*]}" >&2; exit 2; }
done
selected=("$@")
[ $# -gt 0 ] || selected=("${groups[@]}")
labels="^($(IFS='|' && echo "${selected[*]}"))\$"

"$root/scripts/setup.sh" test
cmake -S "$root" -B "$root/build" -DBUILD_TESTING=ON -DKELVARO_WERROR=ON -DKELVARO_SANITIZE=OFF >/dev/null
cmake --build "$root/build" -j"$(nproc)"
# Most tests wait on a display or a browser more than they compute, so
# twice as many run as there are cores.
ctest --test-dir "$root/build" --output-on-failure -j"$(($(nproc) * 2))" -L "$labels"
