#!/usr/bin/env bash
# Measures build/kelvaro on a private Xvfb from outside the process and
# writes the figures, with the machine they came from, into
# docs/performance.md.
#
#   bench/bench.sh [SECONDS]          companion off, then on (default 10 s)
#   bench/bench.sh --soak [SECONDS]   companion on, RSS over time (default 300 s)
#
# Frames are seen through the X Damage extension (bench/frame_watch).
# Every tick requests exactly one frame, so frames a second are the tick
# rate, the animation's speed: 100 is the ideal.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
doc=$root/docs/performance.md
mode=run
if [ "${1:-}" = "--soak" ]; then
  mode=soak
  shift
fi
seconds=${1:-$([ "$mode" = soak ] && echo 300 || echo 10)}

"$root/scripts/setup.sh" test
cmake -S "$root" -B "$root/build" -DBUILD_TESTING=ON >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target kelvaro frame_watch >/dev/null

work=$(mktemp -d)
xvfb_pid=""
pid=""
stop_kelvaro() {
  [ -z "$pid" ] || { kill "$pid" && wait "$pid"; } 2>/dev/null || true
  pid=""
}
trap 'stop_kelvaro; [ -z "$xvfb_pid" ] || kill "$xvfb_pid"; rm -rf "$work"' EXIT
. "$root/scripts/xvfb.sh"
start_xvfb "$work" 1024x768x24

# Starts the program, shows the companion if asked, and lets it settle.
start_kelvaro() {
  "$root/build/kelvaro" -geometry +0+0 &
  pid=$!
  win=$(timeout 10 xdotool search --sync --name '^Kelvaro$' | head -n 1)
  if [ "$1" = on ]; then xdotool windowfocus --sync "$win" key a; fi
  sleep 1
}

mib() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }
cpu_seconds() { awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$pid/stat"; }
status_kb() { awk -v key="$1:" '$1 == key {print $2}' "/proc/$pid/status"; }

# One measured run: prints a table row for the companion off or on.
measure() {
  start_kelvaro "$1"
  local cpu0 cpu1
  cpu0=$(cpu_seconds)
  "$root/build/bench/frame_watch" "$win" "$seconds" >"$work/frames"
  cpu1=$(cpu_seconds)
  local peak
  peak=$(status_kb VmHWM)
  stop_kelvaro
  awk 'NR > 1 { print $1 - last } { last = $1 }' "$work/frames" | sort -n >"$work/gaps"
  awk -v what="$1" -v cpu="$cpu1" -v cpu0="$cpu0" -v s="$seconds" -v peak="$peak" '
    { gap[NR] = $1; sum += $1 }
    END {
      rate = NR / (sum / 1e6)
      printf "| %s | %.1f | %.0f%% | %.1f | %.1f | %.2f | %.0f |\n", what, rate,
        rate, gap[int((NR + 1) / 2)] / 1000, gap[int(NR * 0.95 + 0.5)] / 1000,
        (cpu - cpu0) / s, peak / 1024
    }' "$work/gaps"
}

# Companion on for the whole run; RSS every 10 seconds.
soak() {
  start_kelvaro on
  local start=$SECONDS rss10="" rss
  echo "| seconds | RSS (MiB) |"
  echo "|---:|---:|"
  while [ $((SECONDS - start)) -lt "$seconds" ]; do
    sleep 10
    rss=$(status_kb VmRSS)
    [ -n "$rss10" ] || rss10=$rss
    echo "| $((SECONDS - start)) | $(mib "$rss") |"
  done
  stop_kelvaro
  echo
  echo "RSS at 10 s: $(mib "$rss10") MiB; at the end ($seconds s): $(mib "$rss") MiB;" \
    "growth after the first 10 s: $((rss - rss10)) KiB."
}

machine() {
  local cpu mesa
  cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)
  mesa=$(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || echo unknown)
  echo "Measured $(date -u +%Y-%m-%d) on $(nproc) × ${cpu:-unknown CPU}," \
    "$(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo)," \
    "$(. /etc/os-release && echo "$PRETTY_NAME"), Mesa $mesa (llvmpipe) on Xvfb," \
    "no GPU; build/kelvaro built $(grep -m1 CMAKE_BUILD_TYPE "$root/build/CMakeCache.txt" | cut -d= -f2)."
}

# Replaces the lines between <!-- NAME --> and <!-- /NAME --> in the doc.
write_section() {
  local name=$1 body=$2
  awk -v first="<!-- $name -->" -v last="<!-- /$name -->" -v body="$body" '
    $0 == first { print; print body; skip = 1; next }
    $0 == last { skip = 0 }
    !skip' "$doc" >"$work/doc" && cp "$work/doc" "$doc"
}

if [ "$mode" = run ]; then
  body="$(machine) Each run $seconds s.

| companion | ticks/s | of ideal | median frame gap (ms) | 95th pct (ms) | CPU s/s | peak RSS (MiB) |
|---|---:|---:|---:|---:|---:|---:|
$(measure off)
$(measure on)"
  write_section figures "$body"
else
  body="$(machine)

$(soak)"
  write_section soak "$body"
fi
echo "$body"
echo "Written to $doc"
