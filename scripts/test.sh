#!/usr/bin/env bash
# Installs what the tests need, builds Kelvaro with its tests (warnings
# are errors) in build/ and runs the tests of the groups named, or of
# all: several at once, each test waiting only for the builds it uses.
# The groups are the tests' labels (tests/CMakeLists.txt; what each
# checks is in docs/testing.md); a test with none stops the run.
# Usage: scripts/test.sh [GROUP...]     e.g. scripts/test.sh web e2e
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/groups.sh"

"$root/scripts/setup.sh" test
cmake -S "$root" -B "$root/build" -DBUILD_TESTING=ON -DKELVARO_WERROR=ON -DKELVARO_SANITIZE=OFF >/dev/null
cmake --build "$root/build" -j"$(nproc)"
labels=$(test_labels "$root/build" "$@")
# Most tests wait on a display or a browser more than they compute, so
# twice as many run as there are cores.
ctest --test-dir "$root/build" --output-on-failure -j"$(($(nproc) * 2))" -L "$labels"
