#!/usr/bin/env bash
# Installs what the tests need, builds Kelvaro with its tests (warnings
# are errors) and runs every test: unit tests, the format check and the
# end-to-end tests, each of those on its own virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh" test
cmake -S "$root" -B "$root/build" -DBUILD_TESTING=ON -DKELVARO_WERROR=ON
cmake --build "$root/build" -j"$(nproc)"
ctest --test-dir "$root/build" --output-on-failure
