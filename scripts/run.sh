#!/usr/bin/env bash
# Builds Kelvaro and runs it in a window. Options go to GLUT (-geometry,
# -display, ...). With no display to open, it records one bounce cycle
# on a virtual display into kelvaro.gif instead.
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): recording one bounce cycle instead." >&2
  exec "$root/scripts/record.sh" kelvaro.gif
fi
"$root/scripts/build.sh"
exec "$root/build/kelvaro" "$@"
