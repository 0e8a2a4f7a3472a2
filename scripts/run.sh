#!/usr/bin/env bash
# Builds Kelvaro and runs it in a window. Options go to GLUT (-geometry,
# -display, ...).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "kelvaro: no display to open (DISPLAY is not set)" >&2
  exit 1
fi
exec "$root/build/kelvaro" "$@"
