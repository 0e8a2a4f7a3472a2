#!/usr/bin/env bash
# Measures Kelvaro and writes the figures, with the machine they came
# from, into docs/performance.md, with plots drawn by gnuplot beside it.
#
#   bench/bench.sh [SECONDS]          native, companion off, then on (default 10 s)
#   bench/bench.sh --soak [SECONDS]   native, companion on, RSS over time (default 300 s)
#   bench/bench.sh --web [SECONDS]    web build in Chromium, Firefox and WebKit, each
#                                     against its own ceiling, and the native build
#                                     (default 10 s a run, three rounds), and
#                                     Lighthouse's audit
#   bench/bench.sh --windows [SECONDS]  Windows build under Wine against the native
#                                     build, companion off and on (default 10 s a run)
#   bench/bench.sh --arm64 [SECONDS]  arm64 build under QEMU's emulation against the
#                                     native build, companion off and on (default 10 s)
#   bench/bench.sh --weston [SECONDS] native under Weston, a Wayland desktop, through
#                                     XWayland, against the same on Xvfb, companion
#                                     off and on (default 10 s a run)
#   bench/bench.sh --vblank [SECONDS] native, on a modelled display that holds each swap
#                                     until its refresh (tests/tools/vblank.c), at 30, 60,
#                                     75, 120 and 144 Hz, its blank there and gone by
#                                     turns: offering no swap control (the program asks
#                                     nothing, as before) and offering it (default 10 s)
#
# The native program is watched from outside on a private Xvfb: each frame
# it swaps is seen through the X Damage extension (bench/frame_watch).
# Every tick requests exactly one frame, so frames a second are the tick
# rate, the animation's speed: 100 is the ideal. bench/web.mjs counts the
# web build's ticks in the page. Nothing here passes or fails.
. "$(dirname "$0")/../scripts/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
docs=$root/docs
doc=$docs/performance.md
mode=run
case "${1:-}" in
  --soak | --web | --windows | --arm64 | --weston | --vblank) mode=${1#--} && shift ;;
esac
seconds=${1:-$([ "$mode" = soak ] && echo 300 || echo 10)}

"$root/scripts/setup.sh" bench
cmake -S "$root" -B "$root/build" -DBUILD_TESTING=ON >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target kelvaro frame_watch vblank >/dev/null
[ "$mode" != web ] || "$root/scripts/build_web.sh"
[ "$mode" != arm64 ] || "$root/scripts/arm64.sh" "$root/build-arm64" >/dev/null
if [ "$mode" = windows ]; then
  "$root/scripts/windows.sh" "$root/build-windows" >/dev/null
  export WINEPREFIX=$root/build-windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [ -f "$WINEPREFIX/system.reg" ] || { env -u DISPLAY wine wineboot --init && wineserver -w; } >/dev/null 2>&1
fi

work=$(mktemp -d)
pid=""
stop_kelvaro() {
  [ -z "$pid" ] || { kill "$pid" && wait "$pid"; } 2>/dev/null || true
  pid=""
}
trap 'trap - ERR; stop_kelvaro; [ "$mode" != windows ] || wineserver -k 2>/dev/null
  kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
. "$root/scripts/lib/displays.sh"
start_xvfb "$work" 1024x768x24

# The program measured, and the name of its runs: the native build, or
# the Windows build under Wine (as one process, whose CPU time and memory
# are the program's; Wine's server is left out).
program=("$root/build/kelvaro")
build=native

# Starts the program, shows the companion if asked, and lets it settle.
start_kelvaro() {
  "${program[@]}" -geometry +0+0 2>/dev/null &
  pid=$!
  win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Kelvaro$' | head -n 1)
  if [ "$1" = on ]; then xdotool windowfocus --sync "$win" key a; fi
  sleep 1
}

mib() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }
cpu_seconds() { awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$pid/stat"; }
status_kb() { awk -v key="$1:" '$1 == key {print $2}' "/proc/$pid/status"; }

# Prints the ticks a second and the given percentiles (ms) of a file of
# gaps between ticks (ms, one a line).
gap_stats() {
  local file=$1
  shift
  sort -n "$file" | awk -v want="$*" '
    { gap[NR] = $1; sum += $1 }
    END {
      printf "%.1f", NR / (sum / 1000)
      n = split(want, p, " ")
      for (i = 1; i <= n; i++) printf " %.2f", gap[p[i] == 100 ? NR : int(NR * p[i] / 100 + 0.5)]
      print ""
    }'
}

# One measured run of the program, companion off or on: writes the gaps
# between its frames into $work/$build-$1.gaps, prints a summary.
measure() {
  start_kelvaro "$1"
  local cpu0 cpu1 peak rate p50 p95
  cpu0=$(cpu_seconds)
  "$root/build/bench/frame_watch" "$win" "$seconds" >"$work/frames"
  cpu1=$(cpu_seconds)
  peak=$(status_kb VmHWM)
  stop_kelvaro
  awk 'NR > 1 { printf "%.3f\n", ($1 - last) / 1000 } { last = $1 }' "$work/frames" \
    >"$work/$build-$1.gaps"
  read -r rate p50 p95 < <(gap_stats "$work/$build-$1.gaps" 50 95)
  echo "- Companion $1: $rate ticks/s ($(awk -v r="$rate" 'BEGIN { printf "%.0f", r }')% of" \
    "the ideal), median frame gap $p50 ms, 95th percentile $p95 ms," \
    "$(awk -v a="$cpu0" -v b="$cpu1" -v s="$seconds" 'BEGIN { printf "%.2f", (b - a) / s }')" \
    "CPU s/s, peak RSS $(mib "$peak") MiB."
}

# Draws the distributions of gap files as docs/OUT.svg: plot_gaps OUT
# XLABEL FILE TITLE [FILE TITLE ...]. The x axis spans the 0.5th to the
# 99.5th percentiles, so that a few stragglers do not squash the rest.
plot_gaps() {
  local out=$1 label=$2 xmin=1000 xmax=0 low high files=""
  shift 2
  while [ $# -gt 0 ]; do
    # One point for each gap to 0.01 ms keeps the SVG small.
    {
      echo "gap \"$2\""
      sort -n "$1" | awk -v n="$(wc -l <"$1")" '
        { gap = sprintf("%.2f", $1) }
        NR > 1 && gap != last { print last, (NR - 1) * 100 / n }
        { last = gap }
        END { print last, 100 }'
    } >"$1.cdf"
    read -r _ low high < <(gap_stats "$1" 0.5 99.5)
    xmin=$(awk -v a="$xmin" -v b="$low" 'BEGIN { print (b < a ? b : a) }')
    xmax=$(awk -v a="$xmax" -v b="$high" 'BEGIN { print (b > a ? b : a) }')
    files+=" $1.cdf"
    shift 2
  done
  gnuplot -c "$root/bench/cdf.gp" "$docs/$out.svg" "$label" \
    "$(awk -v x="$xmin" 'BEGIN { print int(x) }')" "$(awk -v x="$xmax" 'BEGIN { print int(x) + 1 }')" "$files"
}

# A Markdown table of percentiles (ms) of gap files: percentile_table
# FILE TITLE [FILE TITLE ...].
percentile_table() {
  local files=() head="| percentile" rule="|---:" p
  while [ $# -gt 0 ]; do
    files+=("$1")
    head+=" | $2 (ms)"
    rule+="|---:"
    shift 2
  done
  echo "$head |"
  echo "$rule|"
  for p in 5 25 50 75 95 99 100; do
    printf '| %s' "$([ "$p" = 100 ] && echo max || echo "$p")"
    for file in "${files[@]}"; do printf ' | %s' "$(gap_stats "$file" "$p" | cut -d' ' -f2)"; done
    echo " |"
  done
}

# Companion on for the whole run; RSS every 10 seconds into $work/rss.
soak() {
  start_kelvaro on
  local start=$SECONDS
  while [ $((SECONDS - start)) -lt "$seconds" ]; do
    sleep 10
    echo "$((SECONDS - start)) $(mib "$(status_kb VmRSS)")" >>"$work/rss"
  done
  stop_kelvaro
}

machine() {
  local cpu mesa
  cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)
  mesa=$(dpkg-query -W -f='${Version}' "libgl1-mesa-dri:$(dpkg --print-architecture)" 2>/dev/null || echo unknown)
  echo "Measured $(date -u +%Y-%m-%d) on $(nproc) × ${cpu:-unknown CPU}," \
    "$(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo)," \
    "$(. /etc/os-release && echo "$PRETTY_NAME"), Mesa $mesa (llvmpipe) on Xvfb," \
    "no GPU; build/kelvaro built $(grep -m1 CMAKE_BUILD_TYPE "$root/build/CMakeCache.txt" | cut -d= -f2)."
}

details() { printf '<details><summary>%s</summary>\n\n%s\n\n</details>' "$1" "$2"; }

# Replaces the lines between <!-- NAME --> and <!-- /NAME --> in the doc.
write_section() {
  local name=$1 body=$2
  awk -v first="<!-- $name -->" -v last="<!-- /$name -->" -v body="$body" '
    $0 == first { print; print body; skip = 1; next }
    $0 == last { skip = 0 }
    !skip' "$doc" >"$work/doc" && cp "$work/doc" "$doc"
}

# Another build (NAME, its runs called TITLE, run by the command that
# follows, on other_display if set) and the native one, companion off
# and on, taking turns so that both see the same machine: the figures
# and their percentiles.
versus_native() {
  local name=$1 title=$2 native_off native_on other_off other_on
  shift 2
  native_off=$(measure off)
  program=("$@") build=$name
  other_off=$(DISPLAY=${other_display:-$DISPLAY} measure off)
  other_on=$(DISPLAY=${other_display:-$DISPLAY} measure on)
  program=("$root/build/kelvaro") build=native
  native_on=$(measure on)
  ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
  rate() { sed 's/^- Companion o[nf]*: //; s/ ticks.*//' <<<"$1"; }
  echo "- $title, companion off: $(sed 's/^- Companion off: //' <<<"$other_off") $(ratio "$(rate "$other_off")" "$(rate "$native_off")") of the native build's ticks."
  echo "- $title, companion on: $(sed 's/^- Companion on: //' <<<"$other_on") $(ratio "$(rate "$other_on")" "$(rate "$native_on")") of the native build's ticks."
  echo "- Native, companion off: $(sed 's/^- Companion off: //' <<<"$native_off")"
  echo "- Native, companion on: $(sed 's/^- Companion on: //' <<<"$native_on")"
  echo
  details "The percentiles of the time between frames" "$(percentile_table \
    "$work/$name-off.gaps" "$title, off" "$work/$name-on.gaps" "$title, on" \
    "$work/native-off.gaps" "native, off" "$work/native-on.gaps" "native, on")"
}

case $mode in
  run)
    off=$(measure off)
    on=$(measure on)
    plot_gaps frame-gaps "time between frames (ms)" \
      "$work/native-off.gaps" "companion off" "$work/native-on.gaps" "companion on"
    body="$(machine) Each run $seconds s.

$off
$on

![The distribution of the time between frames, companion off and on](frame-gaps.svg)

$(details "The percentiles behind the plot" "$(percentile_table \
      "$work/native-off.gaps" "companion off" "$work/native-on.gaps" "companion on")")"
    section=figures
    ;;
  soak)
    soak
    read -r first_s first_mib < <(head -n 1 "$work/rss")
    read -r last_s last_mib < <(tail -n 1 "$work/rss")
    gnuplot -c "$root/bench/rss.gp" "$docs/soak-rss.svg" "$work/rss"
    growth=$(awk -v a="$first_mib" -v b="$last_mib" 'BEGIN { printf "%.1f", b - a }')
    body="$(machine)

RSS at $first_s s: $first_mib MiB; at the end ($last_s s): $last_mib MiB; growth after the first $first_s s: $growth MiB.

![Resident memory over the soak, companion on](soak-rss.svg)

$(details "The readings behind the plot" "$(printf '| seconds | RSS (MiB) |\n|---:|---:|\n'; awk '{ printf "| %s | %s |\n", $1, $2 }' "$work/rss")")"
    section=soak
    ;;
  web)
    node "$root/bench/web.mjs" "$root/build-web" "$work" "$seconds" 3 >"$work/web"
    node "$root/bench/lighthouse.mjs" "$root/build-web" 3 >>"$work/web"
    native=$(measure off)
    get() { awk -v key="$1" '$1 == key { print $2 }' "$work/web"; }
    share() { awk -v a="$(get "$1.$2.ticks")" -v b="$(get "$1.ceiling.ticks")" 'BEGIN { printf "%.3f", a / b }'; }
    kib() { awk -v b="$(get transfer."$1")" 'BEGIN { printf "%.1f", b / 1024 }'; }
    lighthouse() { echo "performance $(get lighthouse.performance) (the three runs: $(get lighthouse.scores)), accessibility $(get lighthouse.accessibility), best practices $(get lighthouse.best-practices), SEO $(get lighthouse.seo); First Contentful Paint $(get lighthouse.fcp.ms) ms, Largest Contentful Paint $(get lighthouse.lcp.ms) ms, Speed Index $(get lighthouse.speed-index.ms) ms, Total Blocking Time $(get lighthouse.tbt.ms) ms, Cumulative Layout Shift $(get lighthouse.cls), Max Potential First Input Delay $(get lighthouse.max-potential-fid.ms) ms, JavaScript boot-up $(get lighthouse.bootup.ms) ms, $(awk -v b="$(get lighthouse.unused-js.bytes)" 'BEGIN { printf "%.1f", b / 1024 }') KiB of script never run; long tasks (file@start+ms): $(get lighthouse.long-tasks | sed 's/,/, /g')"; }
    gpu() { echo "$(get "chromium.$1.gpu.total") ms of CPU a frame ($(get "chromium.$1.gpu.main") on its main thread, $(get "chromium.$1.gpu.llvmpipe") on llvmpipe's)"; }
    trace() { echo "$(get "chromium.$1.trace.late") ticks late by $(get "chromium.$1.trace.lateMs") ms in all, the page's main thread busy for $(get "chromium.$1.trace.busyMs") ms of that ($(get "chromium.$1.trace.frameMs") ms in animation frames), and Chromium's GPU main thread busy $(get "chromium.$1.trace.gpuMsPerSecond") ms a second"; }
    first() { echo "| $2 | $(get "$1.web.firstDraw") | $(get "$1.ceiling.firstDraw") | $(awk -v a="$(get "$1.web.firstDraw")" -v b="$(get "$1.ceiling.firstDraw")" 'BEGIN { printf "%.2f", a / b }') | $(get "$1.web.html") | $(get "$1.web.parsed") | $(get "$1.web.script") | $(get "$1.web.contextAsked") to $(get "$1.web.contextMade") | $(get "$1.ceiling.contextAsked") to $(get "$1.ceiling.contextMade") |"; }
    row() { echo "| $2 | $(get "$1.web.ticks") | $(get "$1.companion.ticks") | $(get "$1.ceiling.ticks") | $(share "$1" web) | $(share "$1" companion) | $(get "$1.web.frames") | $(get "$1.companion.frames") | $(get "$1.ceiling.frames") |"; }
    plot_gaps web-ticks "time between ticks (ms)" \
      "$work/chromium-web.gaps" "Chromium" "$work/firefox-web.gaps" "Firefox" \
      "$work/webkit-web.gaps" "WebKit" "$work/native-off.gaps" "native build"
    body="$(machine) Each engine in a window on Xvfb, WebGL on the same llvmpipe: Chromium $(get chromium.version) (through ANGLE), Firefox ESR $(get firefox.version) and WebKitGTK $(get webkit.version) (MiniBrowser). Three rounds of $seconds s a run, the pages taking turns in each engine.

| Engine | ticks/s | companion on | ceiling | of the ceiling | companion on, of the ceiling | frames/s | companion on | ceiling |
|---|---:|---:|---:|---:|---:|---:|---:|---:|
$(row chromium Chromium)
$(row firefox Firefox)
$(row webkit WebKit)

- Chromium's GPU process: web build $(gpu web); companion on $(gpu companion); the ceiling $(gpu ceiling).
- Native build, in the same run: $(echo "$native" | sed 's/^- Companion off: //; s/ (.*//').
- Chromium's longest main-thread task after the first frame: $(get chromium.web.longest) ms (0: none over 50 ms).
- Transfer: $(get transfer.files | sed 's/,/, /g'): $(kib bytes) KiB as served here (uncompressed), $(kib gzip) KiB gzipped.
- Lighthouse $(get lighthouse.version), its default mobile settings (simulated 4x CPU slowdown and slow 4G), median of three runs: $(lighthouse).
- Chromium's trace of 4 s, ticks more than 10.5 ms after the one before: web build $(trace web); ceiling $(trace ceiling).

The first frame, ms after navigation starts, and where the time went: medians of nine loads of each page with an empty cache, the two pages taking turns. The page's HTML was there, the page parsed, the program's script there, its WebGL context asked for and made; the bare page (the ceiling) makes its context as it is parsed and clears it in its first animation frame after a 10 ms tick.

| Engine | first frame | the bare page's | ratio | HTML | parsed | script | context | the bare page's context |
|---|---:|---:|---:|---:|---:|---:|---:|---:|
$(first chromium Chromium)
$(first firefox Firefox)
$(first webkit WebKit)

![The distribution of the time between ticks in each engine and natively](web-ticks.svg)

$(details "The percentiles behind the plot" "$(percentile_table \
      "$work/chromium-web.gaps" "Chromium" "$work/firefox-web.gaps" "Firefox" \
      "$work/webkit-web.gaps" "WebKit" "$work/native-off.gaps" "native")")"
    section=web
    ;;
  windows)
    body="$(machine) kelvaro.exe cross-built with MinGW-w64 (scripts/windows.sh), run by $(wine --version) drawing through the same Mesa. Each run $seconds s, the builds taking turns.

$(versus_native wine "Under Wine" wine "$root/build-windows/kelvaro.exe")"
    section=windows
    ;;
  arm64)
    body="$(machine) The arm64 build cross-built (scripts/arm64.sh), run by $(qemu-aarch64-static --version | head -n 1) in user-mode emulation, with arm64's Mesa. Each run $seconds s, the builds taking turns.

$(versus_native arm64 "Under QEMU" qemu-aarch64-static "$root/build-arm64/kelvaro")"
    section=arm64
    ;;
  weston)
    desktop=$DISPLAY
    start_weston "$work"
    other_display=$DISPLAY DISPLAY=$desktop
    body="$(machine) $(weston --version) with its X11 backend drawing with pixman, as a window on the same Xvfb, and $(Xwayland -version 2>&1 | head -n 1). Each run $seconds s, the two taking turns.

$(versus_native weston "Under Weston" "$root/build/kelvaro")"
    section=weston
    ;;
  vblank)
    # At each rate, the program as it was (nothing offered, so it asks
    # nothing) and as it is, each on a display whose vertical blank is
    # there and gone by turns of 250 ms: with and without, from one run.
    rows=""
    for hz in 30 60 75 120 144; do
      row="| $hz Hz"
      for offer in none "GLX_EXT_swap_control GLX_MESA_swap_control"; do
        program=(env LD_PRELOAD="$root/build/tests/libvblank.so" KELVARO_VBLANK_HZ="$hz"
          KELVARO_VBLANK_TURNS=250 KELVARO_VBLANK_OFFER="$offer" "$root/build/kelvaro")
        measure off >/dev/null
        read -r with without < <(awk -f "$root/tests/tools/blank_turns.awk" "$work/frames")
        row+=" | $without | $with | $(awk -v a="$with" -v b="$without" 'BEGIN { printf "%.2f", a / b }')"
      done
      rows+="$row |"$'\n'
    done
    body="$(machine) Each run $seconds s, companion off.

| Modelled display | before: ticks/s, no blank | with the blank | share | after: ticks/s, no blank | with the blank | share |
|---|---:|---:|---:|---:|---:|---:|
${rows%$'\n'}"
    section=vblank
    ;;
esac
write_section "$section" "$body"
echo "$body"
echo "Written to $doc"
