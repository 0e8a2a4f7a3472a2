#!/usr/bin/env bash
# Installs what the web build needs, then builds the same sources for the
# browser in DIR: the page, its script with the program inside, its
# icons and its service worker (docs/web.md).
# Usage: scripts/build_web.sh [DIR]     (default: build-web)
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath -m "${1:-$root/build-web}")

"$root/scripts/setup.sh" web
emcmake cmake -S "$root" -B "$dir" >"$dir.log" 2>&1 &&
  cmake --build "$dir" -j"$(nproc)" >>"$dir.log" 2>&1 ||
  { cat "$dir.log" >&2; exit 1; }
rm -f "$dir.log"
