#!/usr/bin/env bash
# Records one bounce cycle (about 4 seconds) of Kelvaro, run on a private
# virtual display, into a GIF.
# Usage: scripts/record.sh [OUT.gif]     (default: kelvaro.gif here)
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-kelvaro.gif}")
seconds=4

"$root/scripts/setup.sh" record
"$root/scripts/build.sh"

work=$(mktemp -d)
kelvaro_pid=""
# The program goes first, so that it never sees its X server vanish.
stop() {
  set +e
  trap - ERR
  [ -n "$kelvaro_pid" ] && kill "$kelvaro_pid" && wait "$kelvaro_pid"
  kill $(jobs -p) && wait
  rm -rf "$work"
} 2>/dev/null
trap stop EXIT

. "$root/scripts/lib/displays.sh"
start_xvfb "$work" 300x400x24

"$root/build/kelvaro" -geometry +0+0 &
kelvaro_pid=$!
timeout 10 xdotool search --sync --name '^Kelvaro$' >/dev/null

# The duration is an input option: placed after -i, with the palette
# filter, ffmpeg would never stop reading the screen.
ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -framerate 25 \
  -video_size 300x400 -t "$seconds" -i "$DISPLAY+0,0" \
  -vf "split[a][b];[a]palettegen=max_colors=32[p];[b][p]paletteuse=dither=none" \
  -loop 0 "$out" </dev/null
echo "Recorded one bounce cycle: $out"
