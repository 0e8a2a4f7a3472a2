#!/usr/bin/env bash
# Installs what the tests need, then builds Kelvaro with its tests
# (warnings are errors) and runs every test twice: on the plain build in
# build/, then on a build with AddressSanitizer and UBSan in build-asan/.
# The tests are the unit tests, the format check, the end-to-end tests
# (each on its own virtual display) and, on the plain build only, the web
# build's tests in Chromium, Firefox and WebKit.
# Usage: scripts/test.sh [plain|sanitize]     (default: both)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Configures, builds and tests one build folder.
suite() {
  local dir=$root/$1
  shift
  echo "== $dir"
  cmake -S "$root" -B "$dir" -DBUILD_TESTING=ON -DKELVARO_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
  ctest --test-dir "$dir" --output-on-failure
}

"$root/scripts/setup.sh" test
case "${1:-all}" in
  plain) suite build -DKELVARO_SANITIZE=OFF ;;
  sanitize) suite build-asan -DKELVARO_SANITIZE=ON ;;
  all)
    suite build -DKELVARO_SANITIZE=OFF
    suite build-asan -DKELVARO_SANITIZE=ON
    ;;
  *) echo "usage: $0 [plain|sanitize]" >&2; exit 2 ;;
esac
