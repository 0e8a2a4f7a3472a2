#!/usr/bin/env bash
# Installs what building needs, then builds build/kelvaro.
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh" build
cmake -S "$root" -B "$root/build" -DBUILD_TESTING=OFF >"$root/build.log" 2>&1 &&
  cmake --build "$root/build" -j"$(nproc)" >>"$root/build.log" 2>&1 ||
  { cat "$root/build.log" >&2; exit 1; }
